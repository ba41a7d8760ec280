#pragma once

// Writing and reading wave files with libsndfile, the independent reader
// and writer these suites check our loader and saver against.

#include <sndfile.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sndfile_fixture {

// The text of a fixed-width field: up to its first NUL or its width.
template <std::size_t N>
std::string Text(const char (&field)[N]) {
    return {field, ::strnlen(field, N)};
}

// Stores the value NUL-filled, cut to the width, as a writer of fixed fields
// does; a value of exactly the width keeps no NUL.
template <std::size_t N>
void SetText(char (&field)[N], std::string_view value) {
    std::memset(field, 0, N);
    std::memcpy(field, value.data(), std::min(N, value.size()));
}

void SetTimer(SF_CART_INFO& cart, std::size_t k, std::string_view usage, std::int32_t value);
void SetTagText(SF_CART_INFO& cart, std::string_view text);
void SetCodingHistory(SF_BROADCAST_INFO& bext, std::string_view text);

// Every field set, each to a value that differs from its neighbours'.
SF_CART_INFO TypicalCartInfo();
SF_BROADCAST_INFO TypicalBroadcastInfo();

struct WriteOptions {
    int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    int sampleRate = 48000;
    int channels = 2;
    sf_count_t frames = 4800;
    std::optional<SF_CART_INFO> cart;
    std::optional<SF_BROADCAST_INFO> bext;
    // A "PEAK" chunk before "data" (float formats).
    bool peak = false;
    // Set once the frames are written, so that libsndfile puts its LIST chunk
    // after "data".
    std::optional<std::string> titleAfterData;
};

// Writes a tone with the given metadata. Throws when libsndfile refuses.
void WriteWithLibsndfile(const std::filesystem::path& path, const WriteOptions& options);

// What libsndfile reads from a file opened read-only.
struct LibsndfileView {
    SF_INFO info{};
    std::optional<SF_CART_INFO> cart;
    std::optional<SF_BROADCAST_INFO> bext;
    std::vector<short> samples;  // every frame, interleaved
};

// Throws when libsndfile cannot open the file.
LibsndfileView ReadWithLibsndfile(const std::filesystem::path& path);

// The names of the cart fields whose values differ (tag text compared up to
// its declared size).
std::vector<std::string> DifferingCartFields(const SF_CART_INFO& a, const SF_CART_INFO& b);
std::vector<std::string> DifferingBextFields(const SF_BROADCAST_INFO& a, const SF_BROADCAST_INFO& b);

}  // namespace sndfile_fixture
