// Writes the demo file users can try: one second of a 440 Hz tone with a
// bext chunk and a filled-in cart chunk (title, dates, post timers, URL).
// It writes the file itself, with the core's field layout, so that the
// samples need nothing from the test suites.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string_view>
#include <vector>

#include "wave/ChunkLayout.h"
#include "wave/FieldCodecs.h"

namespace {

using ByteVector = std::vector<std::uint8_t>;

constexpr std::uint32_t kRate = 44100;

void PutLE(ByteVector& out, std::size_t offset, std::uint32_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void AppendLE(ByteVector& out, std::uint32_t value, std::size_t bytes) {
    out.resize(out.size() + bytes);
    PutLE(out, out.size() - bytes, value, bytes);
}

void AppendChunk(ByteVector& body, std::string_view id, const ByteVector& data) {
    body.insert(body.end(), id.begin(), id.end());
    AppendLE(body, static_cast<std::uint32_t>(data.size()), 4);
    body.insert(body.end(), data.begin(), data.end());
}

// Mono 16-bit PCM.
ByteVector Format() {
    ByteVector block;
    AppendLE(block, 1, 2);  // PCM
    AppendLE(block, 1, 2);  // channels
    AppendLE(block, kRate, 4);
    AppendLE(block, kRate * 2, 4);  // bytes per second
    AppendLE(block, 2, 2);          // block align
    AppendLE(block, 16, 2);         // bits per sample
    return block;
}

ByteVector Tone() {
    ByteVector samples;
    for (std::uint32_t i = 0; i < kRate; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // A short fade at both ends keeps the tone from clicking.
        const double envelope = std::fmin(1.0, std::fmin(t, 1.0 - t) / 0.02);
        const auto value =
            static_cast<std::int16_t>(std::lround(9000.0 * envelope * std::sin(2 * std::numbers::pi * 440.0 * t)));
        AppendLE(samples, static_cast<std::uint16_t>(value), 2);
    }
    return samples;
}

void PutTimer(ByteVector& cart, std::size_t k, std::string_view usage, std::uint32_t value) {
    const std::size_t entry = wave::cart::kPostTimers + wave::cart::kPostTimerSize * k;
    wave::WriteTextField(cart, {entry, 4}, usage);
    PutLE(cart, entry + 4, value, 4);
}

ByteVector DemoCart() {
    using namespace wave::cart;
    ByteVector cart(kTagText + 16);
    const auto text = [&cart](wave::Field field, std::string_view value) { wave::WriteTextField(cart, field, value); };
    text(kVersion, "0101");
    text(kTitle, "Reelmarker Demo Tone");
    text(kArtist, "VANTO");
    text(kCutID, "DEMO-0001");
    text(kClientID, "Reelmarker");
    text(kCategory, "DEMO");
    text(kClassification, "Test tone");
    text(kOutCue, "Tone ends cold");
    text(kStartDate, "2026-01-01");
    text(kStartTime, "00:00:00");
    text(kEndDate, "2026-12-31");
    text(kEndTime, "23:59:59");
    text(kProducerAppID, "Reelmarker");
    text(kProducerAppVersion, "1.0.0");
    text(kUserDef, "Open me in Reelmarker");
    PutLE(cart, kLevelReference, 32768, 4);
    PutTimer(cart, 0, "SEC1", 0);
    PutTimer(cart, 1, "MRK ", kRate / 4);
    PutTimer(cart, 2, "MRK1", kRate / 2);
    PutTimer(cart, 3, "EOD1", kRate);
    text(kURL, "https://www.example.com/reelmarker");
    text({kTagText, 16}, "<demo/>\r\n");
    return cart;
}

ByteVector DemoBext() {
    using namespace wave::bext;
    constexpr std::string_view history = "A=PCM,F=44100,W=16,M=mono,T=Reelmarker\r\n";
    ByteVector bext(kCodingHistory + history.size());
    const auto text = [&bext](wave::Field field, std::string_view value) { wave::WriteTextField(bext, field, value); };
    text(kDescription, "Reelmarker demo: one second of a 440 Hz tone");
    text(kOriginator, "VANTO");
    text(kOriginatorReference, "VANTO-DEMO-0001");
    text(kOriginationDate, "2026-01-01");
    text(kOriginationTime, "09:00:00");
    text({kCodingHistory, history.size()}, history);
    return bext;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    ByteVector body = {'W', 'A', 'V', 'E'};
    AppendChunk(body, "fmt ", Format());
    AppendChunk(body, "bext", DemoBext());
    AppendChunk(body, "cart", DemoCart());
    AppendChunk(body, "data", Tone());
    ByteVector file = {'R', 'I', 'F', 'F'};
    AppendLE(file, static_cast<std::uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
