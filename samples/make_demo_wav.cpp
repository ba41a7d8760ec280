// Writes the demo file users can try: one second of a 440 Hz tone with a
// bext chunk and a filled-in cart chunk (title, dates, post timers, URL).
#include <cmath>
#include <cstdio>
#include <numbers>

#include "WaveBuilder.h"

namespace {

constexpr std::uint32_t kRate = 44100;

fixture::ByteVector Tone() {
    fixture::ByteVector samples;
    for (std::uint32_t i = 0; i < kRate; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // A short fade at both ends keeps the tone from clicking.
        const double envelope = std::fmin(1.0, std::fmin(t, 1.0 - t) / 0.02);
        const auto value = static_cast<std::int16_t>(std::lround(9000.0 * envelope * std::sin(2 * std::numbers::pi * 440.0 * t)));
        const auto bits = static_cast<std::uint16_t>(value);
        samples.push_back(static_cast<std::uint8_t>(bits & 0xFF));
        samples.push_back(static_cast<std::uint8_t>(bits >> 8));
    }
    return samples;
}

fixture::ByteVector DemoCart() {
    using namespace wave::cart;
    fixture::ChunkData cart(2048 + 16);
    cart.text(kVersion, "0101")
        .text(kTitle, "Reelmarker Demo Tone")
        .text(kArtist, "VANTO")
        .text(kCutID, "DEMO-0001")
        .text(kClientID, "Reelmarker")
        .text(kCategory, "DEMO")
        .text(kClassification, "Test tone")
        .text(kOutCue, "Tone ends cold")
        .text(kStartDate, "2026-01-01")
        .text(kStartTime, "00:00:00")
        .text(kEndDate, "2026-12-31")
        .text(kEndTime, "23:59:59")
        .text(kProducerAppID, "Reelmarker")
        .text(kProducerAppVersion, "1.0.0")
        .text(kUserDef, "Open me in Reelmarker")
        .u32(kLevelReference, 32768)
        .timer(0, "SEC1", 0)
        .timer(1, "MRK ", kRate / 4)
        .timer(2, "MRK1", kRate / 2)
        .timer(3, "EOD1", kRate)
        .text(kURL, "https://www.example.com/reelmarker")
        .raw(kTagText, "<demo/>\r\n");
    return cart;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    auto bext = fixture::TypicalBext("A=PCM,F=44100,W=16,M=mono,T=Reelmarker\r\n");
    bext.text(wave::bext::kDescription, "Reelmarker demo: one second of a 440 Hz tone")
        .text(wave::bext::kOriginator, "VANTO")
        .text(wave::bext::kOriginatorReference, "VANTO-DEMO-0001")
        .text(wave::bext::kOriginationDate, "2026-01-01")
        .text(wave::bext::kOriginationTime, "09:00:00");
    const auto wave = fixture::WaveBuilder()
                          .chunk("fmt ", fixture::FormatBlock(1, 1, kRate, 16))
                          .chunk("bext", bext)
                          .chunk("cart", DemoCart())
                          .chunk("data", Tone())
                          .bytes();
    fixture::WriteFile(argv[1], wave);
    return 0;
}
