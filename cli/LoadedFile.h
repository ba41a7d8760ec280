#pragma once

#include <string>

#include "texts/ProgramName.h"
#include "wave/LoadFailure.h"
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

// One file opened and loaded as the desktop program would.
struct LoadedFile {
    LoadedFile(const std::string& path, wave::WaveStream::Mode mode, ReadOptions options);
    LoadedFile(const LoadedFile&) = delete;
    LoadedFile& operator=(const LoadedFile&) = delete;

    bool Ok() const { return failure == wave::LoadFailure::None; }
    // Whether the walk reached a bext chunk in this file.
    bool HasBext() const { return document.loaded.bext.has_value(); }
    const std::optional<wave::WaveFormat>& Format() const { return document.loaded.format; }
    // The cart chunk's values; only while ok().
    wave::CartValues Cart() const { return document.Cart(); }
    // The sample rate the post timers count in.
    std::uint32_t SampleRate() const { return Format() ? Format()->samplesPerSec : 0; }

    wave::WaveDocument document;
    wave::ChunkWalk walk;
    wave::Charset charset;
    wave::LoadFailure failure;
};

}  // namespace cli
