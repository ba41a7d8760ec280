#include "LoadedFile.h"

namespace cli {

namespace {

wave::LoadFailure Open(wave::WaveDocument& document, wave::OwnedPageRecords& records, const std::string& path,
                       wave::WaveStream::Mode mode, wave::ChunkWalk walk) {
    records.info.m_strPath = path;
    return document.OpenWave(records.refs(), mode, walk);
}

}  // namespace

LoadedFile::LoadedFile(const std::string& path, wave::WaveStream::Mode mode, wave::ChunkWalk chosenWalk)
    : walk(chosenWalk), failure(Open(document, records, path, mode, chosenWalk)) {}

}  // namespace cli
