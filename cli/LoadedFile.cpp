#include "LoadedFile.h"

namespace cli {

namespace {

wave::LoadFailure Open(wave::WaveDocument& document, wave::OwnedPageRecords& records, const std::string& path,
                       wave::WaveStream::Mode mode) {
    records.info.m_strPath = path;
    return document.OpenWave(records.refs(), mode);
}

}  // namespace

LoadedFile::LoadedFile(const std::string& path, wave::WaveStream::Mode mode)
    : failure(Open(document, records, path, mode)) {}

}  // namespace cli
