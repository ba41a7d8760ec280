#include "cli/LoadedFile.h"

namespace cli {

LoadedFile::LoadedFile(const std::string& path, wave::WaveStream::Mode mode, ReadOptions options)
    : walk(options.walk), charset(options.charset), failure(document.OpenWave(path, mode, options.walk)) {}

}  // namespace cli
