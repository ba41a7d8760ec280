#pragma once

#include "pages/PageFilling.h"
#include "wave/WaveDocument.h"

namespace fixture {

// Opens the file the Start page's record names and shows what was read in
// the records, as the window does for one open.
inline wave::LoadFailure OpenIntoPages(wave::WaveDocument& document, PageRecords pages,
                                       wave::WaveStream::Mode mode = wave::WaveStream::Mode::ReadWrite,
                                       wave::ChunkWalk walk = wave::ChunkWalk::FixedOrder) {
    const wave::LoadFailure failure = document.OpenWave(pages.info.m_strPath, mode, walk);
    ShowLoadedWave(document, pages);
    return failure;
}

}  // namespace fixture
