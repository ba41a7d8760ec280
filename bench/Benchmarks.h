#pragma once

// Each benchmark file registers its benchmarks here; main calls these in
// order so that the report reads in the same order every run.

namespace bench {

void RegisterOpenLargeFile();
void RegisterMetadataScan();
void RegisterCliShow();
void RegisterInPlaceSave();
void RegisterGrowth();
void RegisterPeaks();

// The growth benchmarks' files, made apart from the others: they hold real bytes.
void ReleaseGrowthFiles();
// The hour of real audio the peaks benchmark reads.
void ReleasePeaksFiles();

}  // namespace bench
