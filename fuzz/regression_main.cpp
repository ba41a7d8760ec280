// Replays files through the load fuzzer's entry point without libFuzzer, so
// the normal build and CTest keep the corpus (seeds and past findings)
// passing. Usage: load_fuzzer_regression DIR_OR_FILE...

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fs = std::filesystem;

namespace {

bool Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "%s (%zu bytes)\n", file.c_str(), bytes.size());
    // Reading through the iterators may leave spare capacity behind the
    // bytes; a copy is allocated to the exact size, so that a read past the
    // input's end is the address sanitizer's to see.
    std::vector<std::uint8_t> exact(bytes);
    LLVMFuzzerTestOneInput(exact.data(), exact.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        std::error_code error;
        if (fs::is_directory(arg, error)) {
            for (const fs::directory_entry& entry : fs::directory_iterator(arg, error)) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
        } else if (fs::is_regular_file(arg, error)) {
            files.push_back(arg);
        } else {
            std::fprintf(stderr, "%s: no such file or directory\n", argv[i]);
            return 2;
        }
        if (error) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.message().c_str());
            return 2;
        }
    }
    // An empty corpus would pass without testing anything.
    if (files.empty()) {
        std::fprintf(stderr, "no input files\n");
        return 2;
    }
    std::sort(files.begin(), files.end());
    std::size_t failed = 0;
    for (const fs::path& file : files) {
        if (!Replay(file)) ++failed;
    }
    std::fprintf(stderr, "replayed %zu of %zu inputs\n", files.size() - failed, files.size());
    return failed == 0 ? 0 : 1;
}
