// The Player page against a scripted media service: its buttons, its
// failure boxes, the position line and the hand-over of the main dialog's
// stream.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "framework/WindowMessages.h"
#include "player/PlayingLine.h"
#include "res/resource.h"
#include "tests/player/FakeMediaGraph.h"
#include "tests/support/Unwritable.h"
#include "tests/ui/UiFixture.h"

namespace {
constexpr std::int64_t kPutPosition = 1234;
}  // namespace

class PlayerPageTest : public QObject {
    Q_OBJECT

    GraphScript script;
    std::unique_ptr<UiFixture> ui;
    std::unique_ptr<FakeServiceInPlace> service;

    CPlayerPage& Page() { return ui->Sheet().m_PlayerPage; }
    wave::WaveStream& Stream() { return ui->dialog->Document().file; }
    QPushButton* Button(int id) { return Page().Item<QPushButton>(id); }
    QString Display() { return Page().Item<QLabel>(IDC_DISPLAY)->text(); }
    void Play() { QTest::mouseClick(Button(IDC_PLAY), Qt::LeftButton); }

    // A loaded file with the stream moved away from its start, on the Player page.
    void LoadAndShowPlayer() {
        ui->Open(ui->dir.write("a.wav", fixture::TypicalWave()));
        QVERIFY(Stream().Seek(kPutPosition));
        QVERIFY(ui->ShowPage(kPlayerPage));
    }

    // A folder where the file was: the name is there, but no file opens.
    void OccupyTheName() {
        std::filesystem::remove(ui->dir.file("a.wav"));
        std::filesystem::create_directory(ui->dir.file("a.wav"));
    }

    void SendEvents(std::deque<long> codes) {
        script.events = std::move(codes);
        QEvent notify(framework::WM_PLAYEREVENT);
        QCoreApplication::sendEvent(&Page(), &notify);
    }

    void VerifyStreamBack() {
        QVERIFY(Stream().IsOpen());
        QCOMPARE(Stream().Tell(), kPutPosition);
    }

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void init() {
        script = GraphScript{};
        service = std::make_unique<FakeServiceInPlace>(script);
        ui = std::make_unique<UiFixture>();
    }

    void cleanup() {
        ui.reset();
        service.reset();
        QCOMPARE(script.graphsAlive, 0);
    }

    void buttonsFollowTheLoadedFile() {
        QVERIFY(ui->ShowPage(kPlayerPage));
        QVERIFY(!Button(IDC_PLAY)->isEnabled());
        QVERIFY(!Button(IDC_STOP)->isEnabled());
        LoadAndShowPlayer();
        QVERIFY(Button(IDC_PLAY)->isEnabled());
        QVERIFY(!Button(IDC_STOP)->isEnabled());
    }

    void playClosesTheStreamAndStopGivesItBackWhereItWas() {
        LoadAndShowPlayer();
        Play();
        QVERIFY(!Stream().IsOpen());
        QVERIFY(!Button(IDC_PLAY)->isEnabled());
        QVERIFY(Button(IDC_STOP)->isEnabled());
        QCOMPARE(script.renderedPath, QString::fromStdString(ui->dir.file("a.wav").string()));
        QTRY_COMPARE(Display(), QString(" Playing: 00:01:15 / 01:02:03"));
        QTest::mouseClick(Button(IDC_STOP), Qt::LeftButton);
        VerifyStreamBack();
        QVERIFY(Button(IDC_PLAY)->isEnabled());
        QVERIFY(!Button(IDC_STOP)->isEnabled());
        QCOMPARE(Display(), QString());
        QCOMPARE(script.graphsAlive, 0);
    }

    void spaceOnPlayThenOnStopKeepsTheFocusOnTheButtons() {
        LoadAndShowPlayer();
        ui->dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(ui->dialog.get()));
        Button(IDC_PLAY)->setFocus();
        QTest::keyClick(Button(IDC_PLAY), Qt::Key_Space);
        QVERIFY(!Stream().IsOpen());  // playing
        QCOMPARE(QApplication::focusWidget(), Button(IDC_STOP));
        QTest::keyClick(Button(IDC_STOP), Qt::Key_Space);
        VerifyStreamBack();
        QCOMPARE(QApplication::focusWidget(), Button(IDC_PLAY));
        QVERIFY(ui->dialog->isVisible());
    }

    void theEndOfPlaybackOrAnErrorStopsLikeStop_data() {
        QTest::addColumn<long>("code");
        QTest::newRow("complete") << player::EC_COMPLETE;
        QTest::newRow("user abort") << player::EC_USERABORT;
        QTest::newRow("error") << player::EC_ERRORABORT;
    }

    void theEndOfPlaybackOrAnErrorStopsLikeStop() {
        QFETCH(long, code);
        LoadAndShowPlayer();
        Play();
        SendEvents({99, code});
        VerifyStreamBack();
        QVERIFY(Button(IDC_PLAY)->isEnabled());
        QCOMPARE(script.graphsAlive, 0);
    }

    void leavingThePageStopsAndGivesTheFileBack() {
        LoadAndShowPlayer();
        Play();
        QVERIFY(ui->ShowPage(kCartInfoPage));
        VerifyStreamBack();
        QCOMPARE(script.stops, 1);
    }

    void eachFailedStepSaysWhyAndGivesTheStreamBackAtOnce_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("message");
        QTest::newRow("graph") << 0 << "Unable to create graph";
        QTest::newRow("events") << 1 << "Unable to create event notification";
        QTest::newRow("render") << 2 << "Unable to render file";
        QTest::newRow("run") << 3 << "";
    }

    void eachFailedStepSaysWhyAndGivesTheStreamBackAtOnce() {
        QFETCH(int, step);
        QFETCH(QString, message);
        script.createFails = step == 0;
        script.notifyFails = step == 1;
        script.renderFails = step == 2;
        script.runFails = step == 3;
        LoadAndShowPlayer();
        Play();
        if (message.isEmpty()) {
            QVERIFY(ui->Boxes().empty());
        } else {
            QCOMPARE(ui->Boxes().size(), std::size_t{1});
            QCOMPARE(ui->Boxes()[0].text, message);
            QCOMPARE(ui->Boxes()[0].caption, QString("Warning"));
            QCOMPARE(int(ui->Boxes()[0].icon), int(framework::MessageIcon::Exclamation));
        }
        VerifyStreamBack();
        QVERIFY(Button(IDC_PLAY)->isEnabled());
        QVERIFY(!Button(IDC_STOP)->isEnabled());
        QCOMPARE(Page().m_nTimer, 0);
        QCOMPARE(script.graphsAlive, step == 0 ? 0 : 1);  // what was acquired stays held
    }

    void withoutFullSeekingNoPositionIsShown() {
        script.seeking = player::SeekingAnswer::Partial;
        LoadAndShowPlayer();
        Play();
        QTest::qWait(450);
        QCOMPARE(Display(), QString());
        QVERIFY(Button(IDC_STOP)->isEnabled());
    }

    void anUnknownDurationKeepsTheLastLine() {
        LoadAndShowPlayer();
        Play();
        QTRY_COMPARE(Display(), QString(" Playing: 00:01:15 / 01:02:03"));
        script.duration.reset();
        script.position = 800'000'000;
        QTest::qWait(450);
        QCOMPARE(Display(), QString(" Playing: 00:01:15 / 01:02:03"));
    }

    void aReadOnlyFileGoesBackReadOnly_data() {
        QTest::addColumn<bool>("toTheEnd");
        QTest::newRow("Stop") << false;
        QTest::newRow("played to the end") << true;
    }

    void aReadOnlyFileGoesBackReadOnly() {
        QFETCH(bool, toTheEnd);
        const auto path = ui->dir.write("a.wav", fixture::TypicalWave());
        const fixture::Unwritable unwritable(path);
        if (!unwritable.Ok()) QSKIP("this file system lets the file be written whatever its mode");
        ui->Open(path);
        QCOMPARE(ui->Boxes().size(), std::size_t{1});  // the load says the file is read-only
        QVERIFY(Stream().Seek(kPutPosition));
        QVERIFY(ui->ShowPage(kPlayerPage));
        Play();
        if (toTheEnd) {
            SendEvents({player::EC_COMPLETE});
        } else {
            QTest::mouseClick(Button(IDC_STOP), Qt::LeftButton);
        }
        QCOMPARE(ui->Boxes().size(), std::size_t{1});
        VerifyStreamBack();
        QCOMPARE(int(Stream().OpenMode()), int(wave::WaveStream::Mode::ReadOnly));
    }

    void aVanishedFileIsToldGoneOnceUntilItIsBack() {
        LoadAndShowPlayer();
        Play();
        std::filesystem::remove(ui->dir.file("a.wav"));
        QTest::mouseClick(Button(IDC_STOP), Qt::LeftButton);
        QCOMPARE(ui->Boxes().size(), std::size_t{1});
        QVERIFY(ui->Boxes()[0].text.contains("moved or deleted"));
        QVERIFY(ui->Boxes()[0].text.contains(QString::fromStdString(ui->dir.file("a.wav").string())));
        QVERIFY(!ui->Boxes()[0].text.contains("restart"));
        QVERIFY(!Stream().IsOpen());
        QVERIFY(Button(IDC_PLAY)->isEnabled());
        Play();
        QTest::mouseClick(Button(IDC_STOP), Qt::LeftButton);
        QCOMPARE(ui->Boxes().size(), std::size_t{1});  // still gone: nothing new to tell

        // Back again, then gone again: that is news.
        ui->dir.write("a.wav", fixture::TypicalWave());
        Play();
        QTest::mouseClick(Button(IDC_STOP), Qt::LeftButton);
        VerifyStreamBack();
        Play();
        std::filesystem::remove(ui->dir.file("a.wav"));
        QTest::mouseClick(Button(IDC_STOP), Qt::LeftButton);
        QCOMPARE(ui->Boxes().size(), std::size_t{2});
    }

    void aFileThatCannotBeReopenedSaysSo() {
        LoadAndShowPlayer();
        Play();
        OccupyTheName();
        QTest::mouseClick(Button(IDC_STOP), Qt::LeftButton);
        QCOMPARE(ui->Boxes().size(), std::size_t{1});
        QCOMPARE(ui->Boxes()[0].text, QString("File sharing violationg\nPlease restart program"));
        QCOMPARE(ui->Boxes()[0].caption, QString("reelmarker"));
        QCOMPARE(int(ui->Boxes()[0].icon), int(framework::MessageIcon::None));
        QVERIFY(Button(IDC_PLAY)->isEnabled());
    }

    void aStreamLostByAFailedPlayIsReportedOnceWhateverEndsIt_data() {
        QTest::addColumn<bool>("apply");
        QTest::newRow("leaving the page") << false;
        QTest::newRow("APPLY") << true;
    }

    void aStreamLostByAFailedPlayIsReportedOnceWhateverEndsIt() {
        QFETCH(bool, apply);
        script.renderFails = true;  // the service cannot open it either
        LoadAndShowPlayer();
        OccupyTheName();
        Play();
        if (apply) {
            ui->dialog->EnableDlgItem(IDC_APPLY, true);
            ui->ApplyAndWait();
        } else {
            QVERIFY(ui->ShowPage(kCartInfoPage));
        }
        const auto violations = [this] {
            return std::count_if(ui->Boxes().begin(), ui->Boxes().end(), [](const framework::RecordedBox& box) {
                return box.text == "File sharing violationg\nPlease restart program";
            });
        };
        QCOMPARE(violations(), 1);
        QVERIFY(!Stream().IsOpen());
        QVERIFY(ui->ShowPage(kPlayerPage));
        Play();  // another Play, another failure: told again
        QCOMPARE(violations(), 2);
    }

    void applyWhilePlayingEndsPlaybackThenSaves() {
        LoadAndShowPlayer();
        Play();
        ui->Sheet().m_CartInfoPage.m_strTitle = "Saved while playing";
        ui->dialog->EnableDlgItem(IDC_APPLY, true);
        ui->ApplyAndWait();
        QCOMPARE(ui->Boxes().back().text, QString("ChartChunk Infomation has been saved."));
        QCOMPARE(script.graphsAlive, 0);
        QVERIFY(Stream().IsOpen());
    }

    void positionsAreShownAsWholeSecondsWrappingAtADay_data() {
        QTest::addColumn<qint64>("position");
        QTest::addColumn<qint64>("duration");
        QTest::addColumn<QString>("line");
        QTest::newRow("worked") << qint64(755'000'000) << qint64(37'230'000'000) << " Playing: 00:01:15 / 01:02:03";
        QTest::newRow("fractions dropped") << qint64(9'999'999) << qint64(0) << " Playing: 00:00:00 / 00:00:00";
        QTest::newRow("a day wraps") << qint64(0) << qint64(864'000'000'000) << " Playing: 00:00:00 / 00:00:00";
        QTest::newRow("25 hours") << qint64(10'000'000) << qint64(900'000'000'000) << " Playing: 00:00:01 / 01:00:00";
    }

    void positionsAreShownAsWholeSecondsWrappingAtADay() {
        QFETCH(qint64, position);
        QFETCH(qint64, duration);
        QFETCH(QString, line);
        QCOMPARE(QString::fromStdString(player::PlayingLine(position, duration)), line);
    }
};

QTEST_MAIN(PlayerPageTest)
#include "PlayerPageTest.moc"
