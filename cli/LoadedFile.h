#pragma once

#include <string>

#include "LoadFailure.h"
#include "PageRecords.h"
#include "WaveDocument.h"

namespace cli {

inline constexpr const char* kApplicationName = "reelmarker-cli";

// One file opened and loaded as the desktop program would, into records of
// its own.
struct LoadedFile {
    LoadedFile(const std::string& path, wave::WaveStream::Mode mode, wave::ChunkWalk walk);
    LoadedFile(const LoadedFile&) = delete;
    LoadedFile& operator=(const LoadedFile&) = delete;

    bool ok() const { return failure == wave::LoadFailure::None; }
    // Whether the walk reached a bext chunk in this file.
    bool hasBext() const { return document.m_pBextData.has_value(); }

    wave::OwnedPageRecords records;
    wave::WaveDocument document;
    wave::ChunkWalk walk;
    wave::LoadFailure failure;
};

}  // namespace cli
