// Real playback through GStreamer to a fake sink that keeps time: short PCM
// and MPEG Layer II wave files play to their end, and the end reaches the
// page; a file that is not audio cannot be rendered; playing again and again
// leaves no descriptor and no pipeline behind.

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "player/CPlayerPage.h"
#include "player/GstMediaGraph.h"
#include "res/resource.h"
#include "tests/player/GstLeaks.h"
#include "tests/support/WaveBuilder.h"
#include "tests/ui/RecordingMessageBoxService.h"
#include "wave/WaveDocument.h"
#include "wave/WaveStream.h"

using fixture::ByteVector;
using fixture::PutLE;

namespace {

// Half a second of a 440 Hz tone, 16-bit mono.
ByteVector PcmWave() {
    ByteVector samples;
    for (int i = 0; i < 22050; ++i) {
        const auto value = static_cast<std::int16_t>(8000.0 * std::sin(i * 2 * 3.14159265 * 440 / 44100));
        PutLE(samples, static_cast<std::uint16_t>(value), 2);
    }
    return fixture::WaveBuilder().chunk("fmt ", fixture::FormatBlock(1, 1, 44100, 16)).chunk("data", samples).bytes();
}

// About half a second of silent MPEG-1 Layer II frames (48 kHz, 128 kbit/s,
// stereo): a header and all-zero bit allocations decode as silence.
ByteVector Mp2Wave() {
    constexpr int kFrames = 21;
    constexpr std::size_t kFrameSize = 384;  // 144 * 128000 / 48000
    ByteVector data;
    for (int f = 0; f < kFrames; ++f) {
        const std::size_t start = data.size();
        data.insert(data.end(), {0xFF, 0xFD, 0x84, 0x00});
        data.resize(start + kFrameSize, 0);
    }
    ByteVector format;  // the MPEG wave format: the common block and 22 more bytes
    PutLE(format, 0x0050, 2);
    PutLE(format, 2, 2);
    PutLE(format, 48000, 4);
    PutLE(format, 16000, 4);
    PutLE(format, kFrameSize, 2);
    PutLE(format, 0, 2);
    PutLE(format, 22, 2);
    PutLE(format, 2, 2);       // layer II
    PutLE(format, 128000, 4);  // bit rate
    PutLE(format, 1, 2);       // stereo
    PutLE(format, 0, 2);
    PutLE(format, 1, 2);     // no emphasis
    PutLE(format, 0x10, 2);  // MPEG-1
    PutLE(format, 0, 4);
    PutLE(format, 0, 4);
    ByteVector fact;
    PutLE(fact, kFrames * 1152, 4);
    return fixture::WaveBuilder().chunk("fmt ", format).chunk("fact", fact).chunk("data", data).bytes();
}

// A Player page of its own, on a file whose document it holds as the main
// dialog would.
struct PageOnFile {
    explicit PageOnFile(const std::filesystem::path& path) {
        document.file.Open(path.string(), wave::WaveStream::Mode::ReadWrite);
        page.OnSetActive();
        page.m_strFile = path.string();
        page.m_pDocument = &document;
    }
    wave::WaveDocument document;
    CPlayerPage page;
};

int OpenDescriptors() { return static_cast<int>(QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size()); }

}  // namespace

class GstPlaybackTest : public QObject {
    Q_OBJECT

    fixture::TempDir dir;
    framework::RecordingMessageBoxService* boxes = nullptr;

    // Plays the file on a page of its own; true when the end of playback
    // reached the page and the stream came back.
    bool PlaysToTheEnd(const ByteVector& file) {
        PageOnFile player(dir.write("play.wav", file));
        CPlayerPage& page = player.page;
        const wave::WaveStream& stream = player.document.file;
        page.show();
        page.OnPlay();
        if (!page.m_pGraph || stream.IsOpen()) return false;
        // The end arrives as an event through the event loop; the page stops.
        const bool ended = QTest::qWaitFor([&page] { return !page.m_pGraph; }, 10000);
        return ended && stream.IsOpen() && page.Item<QPushButton>(IDC_PLAY)->isEnabled();
    }

private slots:
    void initTestCase() {
        qputenv("GST_TRACERS", "leaks(filters=GstPlayBin)");
        QApplication::setApplicationName("reelmarker");
        player::SetMediaService(std::make_unique<player::GstMediaService>("fakesink sync=true"));
        auto recorder = std::make_unique<framework::RecordingMessageBoxService>();
        boxes = recorder.get();
        framework::SetMessageBoxService(std::move(recorder));
    }

    void pcmPlaysToItsEnd() {
        QVERIFY(PlaysToTheEnd(PcmWave()));
        QVERIFY(boxes->boxes.empty());
    }

    void mpegLayerTwoPlaysToItsEnd() {
        QVERIFY(PlaysToTheEnd(Mp2Wave()));
        QVERIFY(boxes->boxes.empty());
    }

    void aFileThatIsNotAudioCannotBeRendered() {
        QVERIFY(!PlaysToTheEnd({'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'}));
        QCOMPARE(boxes->boxes.size(), std::size_t{1});
        QCOMPARE(boxes->boxes[0].text, QString("Unable to render file"));
    }

    void playingAndStoppingAgainAndAgainLeavesNothingBehind() {
        PageOnFile player(dir.write("again.wav", PcmWave()));
        CPlayerPage& page = player.page;
        const wave::WaveStream& stream = player.document.file;
        const auto playAndStop = [&] {
            page.OnPlay();
            QVERIFY(page.m_pGraph);
            QCoreApplication::processEvents();
            page.OnStop();
            QVERIFY(stream.IsOpen());
        };
        playAndStop();  // the first play loads the plugins and their files
        const int descriptors = OpenDescriptors();
        const int playbins = LiveTracedObjects();
        QVERIFY(playbins >= 0);
        for (int i = 0; i < 50; ++i) playAndStop();
        QCOMPARE(OpenDescriptors(), descriptors);
        QCOMPARE(LiveTracedObjects(), playbins);
    }
};

QTEST_MAIN(GstPlaybackTest)
#include "GstPlaybackTest.moc"
