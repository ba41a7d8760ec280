#include "player/OverviewPeaks.h"

#include <memory>

#include "decode/DecodedPeaks.h"
#include "wave/AudioData.h"
#include "wave/Peaks.h"
#include "wave/SampleFormat.h"

namespace {

template <class Call>
void Post(const QPointer<QObject>& receiver, Call call) {
    if (receiver) QMetaObject::invokeMethod(receiver.data(), std::move(call), Qt::QueuedConnection);
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
        // Decoded audio's length is not known ahead: the data size at the
        // format's byte rate gives its order of size.
        const std::uint64_t estimate =
            pcm ? audio->Frames()
                : (audio->format.avgBytesPerSec == 0
                       ? 0
                       : audio->size * audio->format.samplesPerSec / audio->format.avgBytesPerSec);
        Shape shape;
        shape.channels = audio->format.channels;
        shape.framesPerBucket = std::max<std::uint64_t>(1, (estimate + kColumns - 1) / kColumns);
        shape.frames = pcm ? audio->Frames() : 0;
        if (pcm) Post(target, [shaped, shape] { shaped(shape); });

        wave::PeakOptions options;
        options.framesPerBucket = shape.framesPerBucket;
        options.cancel = &cancel_;
        options.arrived = [&](std::uint64_t first, std::span<const std::int32_t> values) {
            Part part{first, {values.begin(), values.end()}};
            Post(target, [arrived, part = std::move(part)] { arrived(part); });
        };
        if (!pcm) {
            // The decoded shape is known with the first samples.
            options.arrived = nullptr;
        }
        const wave::PeakResult result =
            pcm ? wave::ComputePcmPeaks(stream.Descriptor(), *audio, options) : decode::DecodedPeaks(path, options);
        if (result.outcome == wave::PeakOutcome::Cancelled) return;
        Shape final = shape;
        final.channels = result.peaks.channels;
        final.frames = result.peaks.frames;
        const bool ok = result.outcome == wave::PeakOutcome::Done;
        if (!pcm && ok) {
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
