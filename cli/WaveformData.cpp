#include "cli/WaveformData.h"

#include <bit>
#include <charconv>
#include <cstring>

#include "wave/HugePages.h"

namespace cli {

namespace {

// Peaks hold the sample's top bit at bit 31; the format keeps the top 8 or 16.
int Narrowed(std::int32_t value, int bits) { return value >> (32 - bits); }

// Each value's top bits as a little-endian Narrow, one after another.
template <typename Narrow>
void NarrowInto(const std::vector<std::int32_t>& values, char* out) {
    static_assert(std::endian::native == std::endian::little, "the format is little-endian");
    constexpr int kBits = 8 * static_cast<int>(sizeof(Narrow));
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto narrowed = static_cast<Narrow>(Narrowed(values[k], kBits));
        std::memcpy(out + k * sizeof(Narrow), &narrowed, sizeof(Narrow));
    }
}

void PutLE(std::string& out, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) out.push_back(static_cast<char>((value >> (8 * k)) & 0xFF));
}

}  // namespace

WaveformHeader HeaderOf(const wave::Peaks& peaks, int bits) {
    return {peaks.channels, peaks.sampleRate, static_cast<std::uint32_t>(peaks.framesPerBucket), bits,
            static_cast<std::uint32_t>(peaks.Buckets())};
}

std::string WaveformJson(const wave::Peaks& peaks, int bits) {
    const WaveformHeader h = HeaderOf(peaks, bits);
    std::string out = "{\"version\":2,\"channels\":" + std::to_string(h.channels) +
                      ",\"sample_rate\":" + std::to_string(h.sampleRate) +
                      ",\"samples_per_pixel\":" + std::to_string(h.samplesPerPixel) +
                      ",\"bits\":" + std::to_string(bits) + ",\"length\":" + std::to_string(h.length) + ",\"data\":[";
    wave::ReserveHuge(out, out.size() + peaks.values.size() * 7 + 3);
    char digits[12];
    for (std::size_t k = 0; k < peaks.values.size(); ++k) {
        if (k > 0) out.push_back(',');
        char* end = std::to_chars(digits, digits + sizeof digits, Narrowed(peaks.values[k], bits)).ptr;
        out.append(digits, static_cast<std::size_t>(end - digits));
    }
    out += "]}\n";
    return out;
}

std::string WaveformDat(const wave::Peaks& peaks, int bits) {
    const WaveformHeader h = HeaderOf(peaks, bits);
    std::string out;
    wave::ReserveHuge(out, 24 + peaks.values.size() * static_cast<std::size_t>(bits / 8));
    PutLE(out, 2, 4);
    PutLE(out, bits == 8 ? 1u : 0u, 4);
    PutLE(out, h.sampleRate, 4);
    PutLE(out, h.samplesPerPixel, 4);
    PutLE(out, h.length, 4);
    PutLE(out, h.channels, 4);
    // Sized once and filled in place: an hour at 256 frames a pixel is
    // millions of values, narrowed in a loop the compiler vectorises.
    const std::size_t header = out.size();
    out.resize(header + peaks.values.size() * static_cast<std::size_t>(bits / 8));
    if (bits == 8)
        NarrowInto<std::int8_t>(peaks.values, out.data() + header);
    else
        NarrowInto<std::int16_t>(peaks.values, out.data() + header);
    return out;
}

}  // namespace cli
