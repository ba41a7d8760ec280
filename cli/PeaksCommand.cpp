#include <limits>

#include "cli/Commands.h"
#include "cli/ErrorLine.h"
#include "cli/OutputFile.h"
#include "cli/ReadOptionFlags.h"
#include "cli/WaveformData.h"
#include "decode/DecodedPeaks.h"
#include "texts/LoadFailureTexts.h"
#include "wave/AudioData.h"
#include "wave/SampleFormat.h"

namespace cli {

namespace {

// Waveform players' usual zoom when none is given.
constexpr std::uint32_t kDefaultSamplesPerPixel = 256;

class PeaksCommand : public Command {
public:
    explicit PeaksCommand(CLI::App& peaks) : Command(peaks) {
        CLI::Option* perSecond =
            peaks.add_option("--pixels-per-second", request_.pixelsPerSecond, "Pixels for each second of audio");
        perSecond->check(CLI::Range(1u, std::numeric_limits<std::uint32_t>::max()));
        peaks.add_option("--samples-per-pixel", request_.samplesPerPixel, "Sample frames for each pixel (default 256)")
            ->check(CLI::Range(1u, static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())))
            ->excludes(perSecond);
        peaks.add_option("--bits", request_.bits, "Bits of each value: 8 or 16 (default 16)")
            ->check(CLI::IsMember({8, 16}));
        peaks
            .add_option("--output", request_.output,
                        "Write OUT.json or OUT.dat (the binary form) instead of JSON on standard output")
            ->check([](const std::string& name) {
                return OutputForm(name) ? std::string{} : std::string("the output must end in .json or .dat");
            });
        read_.AddTo(peaks);
        peaks.add_option("FILE", request_.file, "WAV file")->required();
    }

    int Run(Console& console) const override { return RunPeaks(request_, read_.Options(), console); }

private:
    PeaksRequest request_;
    ReadOptionFlags read_;
};

// The failures of the fixed-order walk that say the file's layout is not
// one it reads; a missing cart chunk does not matter for the sound.
bool LayoutRefused(wave::LoadFailure failure) {
    using wave::LoadFailure;
    return failure == LoadFailure::OpenFailed || failure == LoadFailure::NotWave ||
           failure == LoadFailure::PrematureEnd || failure == LoadFailure::InvalidRiffHeader ||
           failure == LoadFailure::NoFormatChunk;
}

}  // namespace

std::optional<PeaksOutput> OutputForm(const std::string& name) {
    auto endsWith = [&name](std::string_view end) {
        return name.size() > end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    if (endsWith(".json")) return PeaksOutput::Json;
    if (endsWith(".dat")) return PeaksOutput::Dat;
    return std::nullopt;
}

std::unique_ptr<Command> AddPeaksCommand(CLI::App& app) {
    return std::make_unique<PeaksCommand>(*app.add_subcommand(
        "peaks", "Write the waveform data (min and max per pixel) web players draw from, as JSON or .dat."));
}

int RunPeaks(const PeaksRequest& request, ReadOptions options, Console& console) {
    const std::string& file = request.file;
    auto fail = [&](const std::string& why) {
        ReportError(console, file, why);
        return kSomeFileFailed;
    };
    if (options.walk == wave::ChunkWalk::FixedOrder) {
        const LoadedFile loaded(file, wave::WaveStream::Mode::ReadOnly, options);
        if (LayoutRefused(loaded.failure)) return fail(texts::MessageFor(loaded.failure).text);
    }
    wave::WaveStream stream;
    if (!stream.Open(file, wave::WaveStream::Mode::ReadOnly)) return fail(stream.LastError());
    std::string problem;
    const auto audio = wave::LocateAudio(stream, problem);
    if (!audio) return fail(problem);

    wave::PeakOptions peakOptions;
    peakOptions.framesPerBucket = request.samplesPerPixel.value_or(kDefaultSamplesPerPixel);
    if (request.pixelsPerSecond) {
        peakOptions.framesPerBucket = audio->format.samplesPerSec / *request.pixelsPerSecond;
        if (peakOptions.framesPerBucket == 0)
            return fail("--pixels-per-second must not exceed the sample rate (" +
                        std::to_string(audio->format.samplesPerSec) + ")");
    }
    const wave::PeakResult result = wave::PcmSampleFormat(*audio)
                                        ? wave::ComputePcmPeaks(stream.Descriptor(), *audio, peakOptions)
                                        : decode::DecodedPeaks(file, peakOptions);
    if (result.outcome != wave::PeakOutcome::Done) return fail(result.error);
    if (result.peaks.Buckets() > std::numeric_limits<std::uint32_t>::max())
        return fail("it would give more pixels than the format counts; choose more samples per pixel");

    const PeaksOutput form = request.output.empty() ? PeaksOutput::Json : *OutputForm(request.output);
    const std::string bytes =
        form == PeaksOutput::Json ? WaveformJson(result.peaks, request.bits) : WaveformDat(result.peaks, request.bits);
    if (request.output.empty()) {
        console.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return kAllSucceeded;
    }
    if (std::string why = ReplaceFile(request.output, bytes, file); !why.empty()) return fail(why);
    return kAllSucceeded;
}

}  // namespace cli
