#include <benchmark/benchmark.h>

#include <exception>
#include <iostream>

#include "bench/BenchFiles.h"
#include "bench/Benchmarks.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RegisterOpenLargeFile();
    bench::RegisterMetadataScan();
    bench::RegisterCliShow();
    bench::RegisterInPlaceSave();
    bench::RegisterGrowth();
    bench::RegisterPeaks();
    bench::RegisterPlayerPage();
    int status = 0;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const std::exception& e) {
        std::cerr << "reelmarker-bench: " << e.what() << '\n';
        status = 1;
    }
    benchmark::Shutdown();
    // The large files go with their directories.
    bench::ReleaseFiles();
    bench::ReleaseGrowthFiles();
    bench::ReleasePeaksFiles();
    return status;
}
