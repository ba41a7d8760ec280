#pragma once

// Each benchmark file registers its benchmarks here; main calls these in
// order so that the report reads in the same order every run.

#include <filesystem>

namespace bench {

void RegisterOpenLargeFile();
void RegisterMetadataScan();
void RegisterCliShow();
void RegisterInPlaceSave();
void RegisterGrowth();
void RegisterPeaks();
void RegisterPlayerPage();

// The growth benchmarks' files, made apart from the others: they hold real bytes.
void ReleaseGrowthFiles();
// The hour of real audio the peaks benchmark reads (and the Player page's
// opens), made on first use.
const std::filesystem::path& HourOfAudio();
void ReleasePeaksFiles();

}  // namespace bench
