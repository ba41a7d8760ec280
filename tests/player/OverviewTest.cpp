// The Player page's overview as it is computed: decoded audio arrives in
// parts before its end, on buckets planned from the estimated length; the
// picture keeps what it drew when the true length settles, and shows audio
// that runs past the estimate; the page answers while the peaks are read.
#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <QTest>
#include <cmath>
#include <limits>

#include "decode/DecodedPeaks.h"
#include "player/MarkerPanel.h"
#include "player/OverviewPeaks.h"
#include "player/WaveformView.h"
#include "res/resource.h"
#include "tests/player/FakeMediaGraph.h"
#include "tests/ui/UiFixture.h"

namespace {

// Mono A-law at 8 kHz: one byte a frame, a tone whose level rises along the
// file, so every bucket differs. GStreamer's decoder takes one or two channels.
fixture::ByteVector ALawWave(std::uint32_t frames) {
    fixture::ByteVector data(frames);
    for (std::uint32_t k = 0; k < frames; ++k) {
        const double level = 0.05 + 0.9 * k / frames;
        const double sample = level * std::sin(k * 0.3);
        // A-law keeps the sign in the top bit and a coarse magnitude below.
        const auto magnitude = static_cast<std::uint8_t>(std::lround(std::abs(sample) * 127));
        data[k] = static_cast<std::uint8_t>(((sample >= 0 ? 0x80 : 0) | magnitude) ^ 0x55);
    }
    return fixture::WaveBuilder().chunk("fmt ", fixture::FormatBlock(6, 1, 8000, 8)).chunk("data", data).bytes();
}

// A cart chunk, then an hour of 48 kHz stereo 24-bit PCM left as a hole: about 1 GB the disk
// does not hold, read as silence.
std::filesystem::path HourOfSilence(const fixture::TempDir& dir) {
    constexpr std::uint64_t kBytes = std::uint64_t{60} * 60 * 48000 * 6;
    fixture::ByteVector head = fixture::WaveBuilder()
                                   .chunk("fmt ", fixture::FormatBlock(1, 2, 48000, 24))
                                   .chunk("cart", fixture::TypicalCart())
                                   .bytes();
    for (const char c : {'d', 'a', 't', 'a'}) head.push_back(static_cast<std::uint8_t>(c));
    fixture::PutLE(head, static_cast<std::uint32_t>(kBytes), 4);
    const auto riffSize = static_cast<std::uint32_t>(head.size() - 8 + kBytes);
    for (std::size_t i = 0; i < 4; ++i) head[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    const std::filesystem::path path = dir.write("hour.wav", head);
    std::filesystem::resize_file(path, head.size() + kBytes);
    return path;
}

// What one run of the overview handed over, in order.
struct Recorded {
    std::vector<OverviewPeaks::Shape> shapes;
    std::vector<OverviewPeaks::Part> parts;
    std::size_t partsBeforeEnd = 0;
    std::optional<OverviewPeaks::Shape> finished;
    bool ok = false;
};

}  // namespace

class OverviewTest : public QObject {
    Q_OBJECT

    fixture::TempDir dir;

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void decodedAudioArrivesInPartsBeforeItsEnd() {
        constexpr std::uint32_t kFrames = 8000 * 60 * 20;  // 20 minutes, long enough to take a while
        const auto path = dir.write("alaw.wav", ALawWave(kFrames));
        QObject receiver;
        Recorded got;
        OverviewPeaks overview;
        overview.Start(
            path.string(), &receiver, [&](const OverviewPeaks::Shape& shape) { got.shapes.push_back(shape); },
            [&](const OverviewPeaks::Part& part) { got.parts.push_back(part); },
            [&](const OverviewPeaks::Shape& shape, bool ok) {
                got.partsBeforeEnd = got.parts.size();
                got.finished = shape;
                got.ok = ok;
            });
        QTRY_VERIFY_WITH_TIMEOUT(got.finished.has_value(), 60000);
        QVERIFY(got.ok);
        // Shaped once, at the start, from the estimate: A-law's is exact.
        QCOMPARE(got.shapes.size(), std::size_t{1});
        const OverviewPeaks::Shape& planned = got.shapes[0];
        QCOMPARE(planned.frames, std::uint64_t{0});
        QCOMPARE(planned.expectedFrames, std::uint64_t{kFrames});
        QCOMPARE(planned.framesPerBucket,
                 (std::uint64_t{kFrames} + OverviewPeaks::kColumns - 1) / OverviewPeaks::kColumns);
        QCOMPARE(got.finished->frames, std::uint64_t{kFrames});

        // Several parts, the first well before the end, together the decoder's peaks.
        QVERIFY(got.partsBeforeEnd >= 2);
        QCOMPARE(got.parts.size(), got.partsBeforeEnd);
        const std::uint64_t buckets = (kFrames + planned.framesPerBucket - 1) / planned.framesPerBucket;
        QVERIFY(got.parts[0].firstBucket + got.parts[0].values.size() / 2 < buckets / 2);
        std::vector<std::int32_t> joined(buckets * 2, 0);
        for (const OverviewPeaks::Part& part : got.parts) {
            QVERIFY(part.firstBucket * 2 + part.values.size() <= joined.size());
            for (std::size_t k = 0; k + 1 < part.values.size(); k += 2) {
                if (part.values[k] > part.values[k + 1]) continue;  // not reached yet
                joined[part.firstBucket * 2 + k] = part.values[k];
                joined[part.firstBucket * 2 + k + 1] = part.values[k + 1];
            }
        }
        wave::PeakOptions options;
        options.framesPerBucket = planned.framesPerBucket;
        const wave::PeakResult whole = decode::DecodedPeaks(path.string(), options);
        QVERIFY(whole.peaks.values == joined);
    }

    // Two reading threads may finish their blocks out of order: a later
    // block's part, then an earlier one's, with a gap, merge into one part
    // that leaves the gap unreached; one take is asked for until it is taken.
    void partsMergeInAnyOrderWhileTheWindowIsBusy() {
        PeakMailbox mailbox(1);
        const auto start = PeakMailbox::Clock::now();
        QVERIFY(mailbox.Put(6, std::vector<std::int32_t>{-6, 6, -7, 7}, start));
        QVERIFY(!mailbox.Put(2, std::vector<std::int32_t>{-2, 2}, start));
        QVERIFY(!mailbox.Put(7, std::vector<std::int32_t>{-70, 70, -8, 8}, start + PeakMailbox::kPeriod * 2));
        const PeakMailbox::Part part = mailbox.Take(start);
        QCOMPARE(part.firstBucket, std::uint64_t{2});
        const std::int32_t lo = std::numeric_limits<std::int32_t>::max();
        const std::int32_t hi = std::numeric_limits<std::int32_t>::min();
        QCOMPARE(part.values, (std::vector<std::int32_t>{-2, 2, lo, hi, lo, hi, lo, hi, -6, 6, -70, 70, -8, 8}));
        // Taken: nothing waits, and the next part waits out the period.
        QVERIFY(mailbox.Take(start).values.empty());
        QVERIFY(!mailbox.Put(9, std::vector<std::int32_t>{-9, 9}, start + PeakMailbox::kPeriod / 2));
        QVERIFY(mailbox.Put(10, std::vector<std::int32_t>{-1, 1}, start + PeakMailbox::kPeriod));
    }

    // Parts laid on the planned buckets; then the length settles longer or
    // shorter than planned, or the audio runs past the plan first.
    void thePictureKeepsWhatItDrewAndShowsWhatRunsPastThePlan_data() {
        QTest::addColumn<std::uint64_t>("decoded");
        QTest::newRow("as planned") << std::uint64_t{1000};
        QTest::newRow("longer") << std::uint64_t{1600};
        QTest::newRow("shorter") << std::uint64_t{700};
    }

    void thePictureKeepsWhatItDrewAndShowsWhatRunsPastThePlan() {
        QFETCH(std::uint64_t, decoded);
        constexpr std::uint64_t kPlanned = 1000;
        WaveformView view;
        view.resize(200, 60);
        view.SetShape({.channels = 1, .framesPerBucket = 10, .expectedFrames = kPlanned, .frames = 0});
        QCOMPARE(view.AxisFrames(), kPlanned);
        // Full-scale buckets, one part for each tenth of what is decoded.
        const std::uint64_t buckets = decoded / 10;
        for (std::uint64_t first = 0; first < buckets; first += buckets / 10) {
            OverviewPeaks::Part part{first, {}};
            for (std::uint64_t b = first; b < std::min(buckets, first + buckets / 10); ++b)
                part.values.insert(part.values.end(), {-(1 << 30), 1 << 30});
            view.AddPeaks(part);
            QCOMPARE(view.BucketsShown(), static_cast<std::size_t>(std::min(buckets, first + buckets / 10)));
        }
        // Past the plan, the width already covers every bucket.
        QVERIFY(view.AxisFrames() >= std::max(decoded, kPlanned));
        const QImage before = view.grab().toImage();
        // Above the middle line, where only a bucket's peak draws.
        const auto drawnAt = [](const QImage& image, int x) { return image.pixelColor(x, 20) != QColor(Qt::black); };
        const int lastDrawn =
            static_cast<int>(static_cast<double>(decoded) * 200 / static_cast<double>(view.AxisFrames())) - 2;
        QVERIFY(drawnAt(before, lastDrawn));

        view.Settle(decoded);
        QCOMPARE(view.Frames(), decoded);
        QCOMPARE(view.AxisFrames(), decoded);
        QCOMPARE(view.BucketsShown(), static_cast<std::size_t>(buckets));
        // Settled, the audio spans the whole width.
        const QImage after = view.grab().toImage();
        QVERIFY(drawnAt(after, 1));
        QVERIFY(drawnAt(after, 198));
    }

    void thePageAnswersWhileThePeaksAreRead() {
        GraphScript script;
        auto previous = player::SetMediaService(std::make_unique<FakeMediaService>(script));
        {
            UiFixture ui;
            CPlayerPage& page = ui.Sheet().m_PlayerPage;
            bool finished = false;
            connect(&page, &CPlayerPage::overviewFinished, this, [&] { finished = true; });
            ui.Open(HourOfSilence(ui.dir));
            QVERIFY(ui.ShowPage(kPlayerPage));
            // PCM's length is known at once: seeking and markers need no more.
            QTRY_VERIFY(page.m_waveform->Frames() != 0);
            if (finished) QSKIP("the hour was read before the page could be tried");
            page.m_waveform->setFocus();
            QTest::keyClick(page.m_waveform, Qt::Key_End);
            QCOMPARE(page.m_waveform->Playhead(), page.m_waveform->Frames());
            QCOMPARE(page.m_markers->Add("MRK ", 48000), std::string());
            QVERIFY(ui.ApplyEnabled());
            QTest::mouseClick(page.Item<QPushButton>(IDC_PLAY), Qt::LeftButton);
            QVERIFY(page.Item<QPushButton>(IDC_STOP)->isEnabled());
            QVERIFY(!finished);
            QTRY_VERIFY_WITH_TIMEOUT(finished, 60000);
        }
        player::SetMediaService(std::move(previous));
    }
};

QTEST_MAIN(OverviewTest)
#include "OverviewTest.moc"
