#pragma once

#include <string>

#include "texts/ProgramName.h"
#include "wave/LoadFailure.h"
#include "wave/PageRecords.h"
#include "wave/TextCodec.h"
#include "wave/WaveDocument.h"

namespace cli {

inline constexpr const char* kApplicationName = texts::kCliCommand;

// How the files of one run are read: the chunk walk, and the character set
// their text is written in.
struct ReadOptions {
    wave::ChunkWalk walk = wave::ChunkWalk::FixedOrder;
    wave::Charset charset = wave::Charset::Windows1252;
};

// One file opened and loaded as the desktop program would, into records of
// its own.
struct LoadedFile {
    LoadedFile(const std::string& path, wave::WaveStream::Mode mode, ReadOptions options);
    LoadedFile(const LoadedFile&) = delete;
    LoadedFile& operator=(const LoadedFile&) = delete;

    bool ok() const { return failure == wave::LoadFailure::None; }
    // Whether the walk reached a bext chunk in this file.
    bool hasBext() const { return document.m_pBextData.has_value(); }

    wave::OwnedPageRecords records;
    wave::WaveDocument document;
    wave::ChunkWalk walk;
    wave::Charset charset;
    wave::LoadFailure failure;
};

}  // namespace cli
