#pragma once

#include <filesystem>

#include "tests/support/PagesLoad.h"
#include "tests/support/WaveBuilder.h"
#include "wave/WaveDocument.h"

// A fixture file written to a temporary folder and loaded as the desktop
// program loads it, read-write.
struct LoadedFixture {
    explicit LoadedFixture(const fixture::ByteVector& bytes, const std::string& name = "case.wav",
                           wave::ChunkWalk chunkWalk = wave::ChunkWalk::FixedOrder)
        : path(dir.write(name, bytes)), walk(chunkWalk) {
        records.info.m_strPath = path.string();
        failure = reload();
    }

    wave::LoadFailure reload() {
        failure = fixture::OpenIntoPages(document, records.refs(), wave::WaveStream::Mode::ReadWrite, walk);
        return failure;
    }

    fixture::ByteVector fileBytes() const { return fixture::ReadFile(path); }

    fixture::TempDir dir;
    std::filesystem::path path;
    wave::ChunkWalk walk;
    OwnedPageRecords records;
    wave::WaveDocument document;
    wave::LoadFailure failure = wave::LoadFailure::None;
};
