#include "player/OverviewPeaks.h"

#include <memory>

#include "decode/DecodedPeaks.h"
#include "wave/AudioData.h"
#include "wave/Peaks.h"
#include "wave/SampleFormat.h"

namespace {

// No coding a wave file carries gives more frames a byte than this (MPEG at
// its lowest bit rates comes nearest), so a decoded overview's buckets stay
// within kMostDecodedValues whatever byte rate the format claims.
constexpr std::uint64_t kMostFramesPerByte = 64;
constexpr std::uint64_t kMostDecodedValues = std::uint64_t{4} << 20;

template <class Call>
void Post(const QPointer<QObject>& receiver, Call call) {
    if (receiver) QMetaObject::invokeMethod(receiver.data(), std::move(call), Qt::QueuedConnection);
}

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b) { return b == 0 ? 0 : a / b + (a % b != 0); }

// The buckets' shape before any audio is read: PCM's length is exact;
// decoded audio's is the data size at the format's byte rate, and its
// buckets are never so short that an understated length could make them
// too many.
std::uint64_t MostDecodedBuckets(std::uint16_t channels) {
    return kMostDecodedValues / (2u * std::max<std::uint16_t>(channels, 1));
}

OverviewPeaks::Shape PlannedShape(const wave::AudioData& audio, bool pcm) {
    OverviewPeaks::Shape shape;
    shape.channels = audio.format.channels;
    shape.frames = pcm ? audio.Frames() : 0;
    shape.expectedFrames =
        pcm ? audio.Frames() : CeilDiv(audio.size * audio.format.samplesPerSec, audio.format.avgBytesPerSec);
    shape.framesPerBucket = std::max<std::uint64_t>(1, CeilDiv(shape.expectedFrames, OverviewPeaks::kColumns));
    if (!pcm) {
        shape.framesPerBucket = std::max(shape.framesPerBucket,
                                         CeilDiv(audio.size * kMostFramesPerByte, MostDecodedBuckets(shape.channels)));
    }
    return shape;
}

}  // namespace

void OverviewPeaks::Start(const std::string& path, QObject* receiver, std::function<void(const Shape&)> shaped,
                          std::function<void(const Part&)> arrived,
                          std::function<void(const Shape&, bool ok)> finished) {
    Stop();
    cancel_ = false;
    worker_ = std::thread([this, path, target = QPointer<QObject>(receiver), shaped, arrived, finished] {
        wave::WaveStream stream;
        std::string problem;
        std::optional<wave::AudioData> audio;
        if (stream.Open(path, wave::WaveStream::Mode::ReadOnly)) audio = wave::LocateAudio(stream, problem);
        if (!audio) {
            Post(target, [finished] { finished({}, false); });
            return;
        }
        const bool pcm = wave::PcmSampleFormat(*audio).has_value();
        const Shape shape = PlannedShape(*audio, pcm);
        Post(target, [shaped, shape] { shaped(shape); });

        const auto mailbox = std::make_shared<PeakMailbox>(shape.channels);
        const auto deliver = [mailbox, arrived] {
            const Part part = mailbox->Take();
            if (!part.values.empty()) arrived(part);
        };
        wave::PeakOptions options;
        options.framesPerBucket = shape.framesPerBucket;
        options.cancel = &cancel_;
        // A decoder giving more frames than any coding could is stopped
        // before its buckets take more memory than the bound.
        bool tooLong = false;
        options.arrived = [&](std::uint64_t first, std::span<const std::int32_t> values) {
            if (!pcm && first > MostDecodedBuckets(shape.channels)) {
                tooLong = true;
                cancel_ = true;
                return;
            }
            if (mailbox->Put(first, values)) Post(target, deliver);
        };
        const wave::PeakResult result =
            pcm ? wave::ComputePcmPeaks(stream.Descriptor(), *audio, options) : decode::DecodedPeaks(path, options);
        if (result.outcome == wave::PeakOutcome::Cancelled && !tooLong) return;
        Post(target, deliver);
        Shape final = shape;
        final.channels = result.peaks.channels;
        final.frames = result.peaks.frames;
        const bool ok = result.outcome == wave::PeakOutcome::Done;
        if (ok && final.channels != shape.channels) {
            // The parts were read in the wrong width: the picture starts over.
            Part whole{0, result.peaks.values};
            Post(target, [shaped, arrived, final, whole = std::move(whole)] {
                shaped(final);
                arrived(whole);
            });
        }
        Post(target, [finished, final, ok] { finished(final, ok); });
    });
}

void OverviewPeaks::Stop() {
    if (!worker_.joinable()) return;
    cancel_ = true;
    worker_.join();
}
