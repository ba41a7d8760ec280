#pragma once

#include <filesystem>

#include "WaveBuilder.h"
#include "WaveDocument.h"

// A fixture file written to a temporary folder and loaded as the desktop
// program loads it, read-write.
struct LoadedFixture {
    explicit LoadedFixture(const fixture::ByteVector& bytes, const std::string& name = "case.wav")
        : path(dir.write(name, bytes)) {
        records.info.m_strPath = path.string();
        failure = document.OpenWave(records.refs());
    }

    wave::LoadFailure reload() {
        failure = document.OpenWave(records.refs());
        return failure;
    }

    fixture::ByteVector fileBytes() const { return fixture::ReadFile(path); }

    fixture::TempDir dir;
    std::filesystem::path path;
    wave::OwnedPageRecords records;
    wave::WaveDocument document;
    wave::LoadFailure failure = wave::LoadFailure::None;
};
