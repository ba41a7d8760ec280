// The Player page's waveform and markers: the file's timers on its
// waveform and in the list, the list's edits and their checks, APPLY
// writing exactly the timer bytes edited, seeking by click and key, and
// descriptors, threads and decoding pipelines given back over repeated opens.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "player/MarkerPanel.h"
#include "player/WaveformView.h"
#include "res/resource.h"
#include "tests/player/FakeMediaGraph.h"
#include "tests/player/GstLeaks.h"
#include "tests/ui/UiFixture.h"
#include "wave/ChunkLayout.h"

namespace {

constexpr std::uint32_t kRate = 8000;
constexpr std::uint32_t kFrames = 8000;

// One second of mono, a ramp, with AUDs at 0, INTe at 0.25 s and AUDe at
// the end: 16-bit PCM, or A-law, which the overview decodes through GStreamer.
fixture::ByteVector MarkedWave(bool alaw = false) {
    fixture::ByteVector data;
    for (std::uint32_t k = 0; k < kFrames; ++k) fixture::PutLE(data, (k * 7) & 0xFFFF, alaw ? 1 : 2);
    const auto cart = fixture::TypicalCart().timer(0, "AUDs", 0).timer(1, "INTe", 2000).timer(2, "AUDe", kFrames);
    return fixture::WaveBuilder()
        .chunk("fmt ", alaw ? fixture::FormatBlock(6, 1, kRate, 8) : fixture::FormatBlock(1, 1, kRate, 16))
        .chunk("cart", cart)
        .chunk("data", data)
        .bytes();
}

std::size_t Entries(const char* folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

class MarkersTest : public QObject {
    Q_OBJECT

    GraphScript script;
    std::unique_ptr<UiFixture> ui;
    std::unique_ptr<FakeServiceInPlace> service;

    CPlayerPage& Page() { return ui->Sheet().m_PlayerPage; }
    MarkerPanel& Markers() { return *Page().m_markers; }
    WaveformView& Waveform() { return *Page().m_waveform; }
    QString Cell(int row, int column) { return Markers().Table()->item(row, column)->text(); }

    std::filesystem::path OpenOnPlayer(const std::string& name = "a.wav", bool alaw = false) {
        const auto path = ui->dir.write(name, MarkedWave(alaw));
        ui->Open(path);
        if (!ui->ShowPage(kPlayerPage)) return {};
        // The overview arrives from its thread; the list needs its length.
        if (!QTest::qWaitFor([&] { return Waveform().Frames() == kFrames; })) return {};
        return path;
    }

private slots:
    void initTestCase() {
        qputenv("GST_TRACERS", "leaks(filters=GstPipeline)");
        QApplication::setApplicationName("reelmarker");
    }

    void init() {
        script = GraphScript{};
        service = std::make_unique<FakeServiceInPlace>(script);
        ui = std::make_unique<UiFixture>();
    }

    void cleanup() {
        ui.reset();
        service.reset();
    }

    void theFilesTimersShowOnItsWaveformAndInTheList() {
        QVERIFY(!OpenOnPlayer().empty());
        QTRY_VERIFY(Waveform().BucketsShown() > 0);
        QCOMPARE(Cell(0, 1), QString("AUDs"));
        QCOMPARE(Cell(1, 1), QString("INTe"));
        QCOMPARE(Cell(1, 2), QString("0:00.250"));
        QCOMPARE(Cell(2, 2), QString("0:01.000"));
        QCOMPARE(Cell(3, 1), QString());
        QVERIFY(Markers().Warnings()->text().isEmpty());
    }

    void theWholeListShowsBesideItsControlsAtTheDialogsSize() {
        QVERIFY(!OpenOnPlayer().empty());
        QTableWidget* table = Markers().Table();
        QVERIFY(!table->verticalScrollBar()->isVisible());
        for (int row = 0; row < table->rowCount(); ++row)
            QVERIFY(table->viewport()->rect().contains(table->visualItemRect(table->item(row, 2))));
        QVERIFY(Markers().Warnings()->height() >= 2 * Markers().Warnings()->fontMetrics().height());
        // No two parts of the page overlap, and all lie within it.
        const QList<QWidget*> parts{&Waveform(), Page().Item<QWidget>(IDC_PLAY), Page().Item<QWidget>(IDC_STOP),
                                    Page().Item<QWidget>(IDC_DISPLAY), &Markers()};
        for (qsizetype a = 0; a < parts.size(); ++a) {
            QVERIFY(Page().rect().contains(parts[a]->geometry()));
            for (qsizetype b = a + 1; b < parts.size(); ++b)
                QVERIFY2(!parts[a]->geometry().intersects(parts[b]->geometry()),
                         qPrintable(QString("parts %1 and %2 overlap").arg(a).arg(b)));
        }
    }

    void addMoveAndDeleteWriteExactlyThoseTimerBytes() {
        const auto path = OpenOnPlayer();
        QVERIFY(!path.empty());
        const fixture::ByteVector before = fixture::ReadFile(path);
        QVERIFY(!ui->ApplyEnabled());

        // Add INTs at a typed time, drag INTe's line to the middle, delete AUDe.
        Markers().findChild<QComboBox*>()->setEditText("INTs");
        Markers().findChild<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly)->setText("0:00.125");
        QTest::mouseClick(Markers().findChildren<QPushButton*>()[0], Qt::LeftButton);
        QCOMPARE(Cell(3, 1), QString("INTs"));
        const int x = static_cast<int>(2000.0 * (Waveform().width() - 1) / kFrames + 0.5);
        QTest::mousePress(&Waveform(), Qt::LeftButton, {}, QPoint(x, 5));
        QTest::mouseRelease(&Waveform(), Qt::LeftButton, {}, QPoint((Waveform().width() - 1) / 2, 5));
        QCOMPARE(Cell(1, 1), QString("INTe"));
        QVERIFY(Cell(1, 2) != QString("0:00.250"));
        QCOMPARE(Markers().Delete(2), std::string());
        QVERIFY(ui->ApplyEnabled());
        ui->ApplyAndWait();

        const fixture::ByteVector after = fixture::ReadFile(path);
        QCOMPARE(after.size(), before.size());
        // The cart data starts after the RIFF header, "fmt " and the cart header.
        const std::size_t timerSlots = 12 + 8 + 16 + 8 + wave::cart::kPostTimers;
        const std::uint32_t moved = Page().m_pTimerRecord->m_timers[1].value;
        QVERIFY(moved > 3900 && moved < 4100);
        fixture::ByteVector expected = before;
        auto put = [&](std::size_t slot, const char* usage, std::uint32_t value) {
            for (std::size_t b = 0; b < 4; ++b)
                expected[timerSlots + 8 * slot + b] = static_cast<std::uint8_t>(usage[b]);
            for (std::size_t b = 0; b < 4; ++b)
                expected[timerSlots + 8 * slot + 4 + b] = static_cast<std::uint8_t>(value >> (8 * b));
        };
        put(1, "INTe", moved);
        put(2, "\0\0\0\0", 0);
        put(3, "INTs", 1000);
        QVERIFY(after == expected);
        QVERIFY(!ui->ApplyEnabled());
    }

    void editsPastTheAudioOrInAnotherCharacterSetAreRefusedAndSaid() {
        QVERIFY(!OpenOnPlayer().empty());
        const std::size_t boxes = ui->Boxes().size();
        QVERIFY(Markers().Move(0, kFrames + 1).find("past the end") != std::string::npos);
        QVERIFY(!Markers().Add("MRK\xC4\x80", 10).empty());  // U+0100 is not in Windows-1252
        QVERIFY(!Markers().SetUsage(0, "TOOLONG").empty());
        QCOMPARE(ui->Boxes().size(), boxes + 3);
        QVERIFY(ui->Boxes().back().text.contains("not changed"));
        QCOMPARE(Cell(0, 2), QString("0:00.000"));
        QVERIFY(!ui->ApplyEnabled());
        // A start after its end is kept, with a warning under the list.
        QCOMPARE(Markers().Add("INTs", 4000), std::string());
        QVERIFY(Markers().Warnings()->text().contains("INTs (0:00.500) is after INTe (0:00.250)"));
        QVERIFY(ui->ApplyEnabled());
    }

    void clicksAndKeysMoveThePlayhead() {
        QVERIFY(!OpenOnPlayer().empty());
        Waveform().setFocus();
        QTest::keyClick(&Waveform(), Qt::Key_End);
        QCOMPARE(Waveform().Playhead(), std::uint64_t{kFrames});
        QTest::keyClick(&Waveform(), Qt::Key_Left);
        QCOMPARE(Waveform().Playhead(), std::uint64_t{kFrames - kRate});  // a step: a second at least
        QTest::keyClick(&Waveform(), Qt::Key_Home);
        QCOMPARE(Waveform().Playhead(), std::uint64_t{0});
        // Clear of INTe's line at a quarter, which a click there would grab.
        QTest::mouseClick(&Waveform(), Qt::LeftButton, {}, QPoint(Waveform().width() * 3 / 10, 5));
        QVERIFY(Waveform().Playhead() > kFrames / 4 && Waveform().Playhead() < kFrames * 35 / 100);
        // A marker added without a typed time goes where the playhead is.
        QCOMPARE(Markers().Add("MRK ", std::nullopt), std::string());
        QCOMPARE(Page().m_pTimerRecord->m_timers[3].value, static_cast<std::uint32_t>(Waveform().Playhead()));
    }

    void repeatedOpensGiveBackDescriptorsThreadsAndPipelines() {
        // Both routes once, so that what GStreamer keeps for good is counted in.
        QVERIFY(!OpenOnPlayer("first.wav").empty());
        QVERIFY(ui->ShowPage(kStartPage));
        QVERIFY(!OpenOnPlayer("first-alaw.wav", true).empty());
        const std::size_t descriptors = Entries("/proc/self/fd");
        const std::size_t threads = Entries("/proc/self/task");
        const int pipelines = LiveTracedObjects();
        QVERIFY(pipelines >= 0);
        for (int k = 0; k < 6; ++k) {
            QVERIFY(ui->ShowPage(kStartPage));
            QVERIFY(!OpenOnPlayer("file" + std::to_string(k) + ".wav", k % 2 == 1).empty());
            QTRY_VERIFY(Waveform().BucketsShown() > 0);
        }
        QTRY_COMPARE(Entries("/proc/self/fd"), descriptors);
        QTRY_COMPARE(Entries("/proc/self/task"), threads);
        QCOMPARE(LiveTracedObjects(), pipelines);
    }
};

QTEST_MAIN(MarkersTest)
#include "MarkersTest.moc"
