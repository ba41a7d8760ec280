#include "cli/LoadedFile.h"

namespace cli {

namespace {

wave::LoadFailure Open(wave::WaveDocument& document, wave::OwnedPageRecords& records, const std::string& path,
                       wave::WaveStream::Mode mode, wave::ChunkWalk walk) {
    records.info.m_strPath = path;
    return document.OpenWave(records.refs(), mode, walk);
}

}  // namespace

LoadedFile::LoadedFile(const std::string& path, wave::WaveStream::Mode mode, ReadOptions options)
    : walk(options.walk), charset(options.charset), failure(Open(document, records, path, mode, options.walk)) {}

}  // namespace cli
