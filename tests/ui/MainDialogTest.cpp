// The main dialog: its start state, the load's failure boxes and the Start
// page.
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "res/resource.h"
#include "tests/support/Unwritable.h"
#include "tests/ui/UiFixture.h"

using fixture::ByteVector;
using fixture::WaveBuilder;
using framework::MessageIcon;

class MainDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void startsOnTheStartPageWithNothingToSave() {
        UiFixture ui;
        QCOMPARE(ui.dialog->windowTitle(), QString("VANTO Reelmarker"));
        QVERIFY(!ui.dialog->windowIcon().isNull());
        const QStringList expected = {
            "   Start   ", "   EBU Info   ", "   Cart Chunk Info 1  ", "   Cart Chunk Info  2 ",
            "  Player   ", "   About   "};
        QStringList tabs;
        for (int i = 0; i < ui.Sheet().TabBar()->count(); ++i) tabs << ui.Sheet().TabBar()->tabText(i);
        QCOMPARE(tabs, expected);
        QCOMPARE(ui.Sheet().GetActiveIndex(), 0);
        QVERIFY(!ui.ApplyEnabled());
        QVERIFY(ui.dialog->m_btnExit->isEnabled());
        QVERIFY(!ui.dialog->m_progress->isVisible());
        QVERIFY(!ui.dialog->m_stcWait->isVisible());
        QCOMPARE(ui.dialog->m_stcWait->text(), QString("Please wait..."));
    }

    void eachFailedLoadShowsItsBox_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        const ByteVector pcm = fixture::PcmFormat();
        auto bytes = [](const ByteVector& v) {
            return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
        };
        QTest::newRow("not a wave") << QByteArray("text") << "This file is not a wave file."
                                    << "Reelmarker" << int(MessageIcon::Error);
        QTest::newRow("ends early") << QByteArray("RIFF\x01", 5) << "Premature end of file."
                                    << "Reelmarker" << int(MessageIcon::Error);
        QTest::newRow("not WAVE") << bytes(WaveBuilder().formType("AVI ").bytes()) << "Invalid RIFF header."
                                  << "Reelmarker" << int(MessageIcon::Error);
        QTest::newRow("no fmt") << bytes(WaveBuilder().bytes()) << "Invalid wave file.\nWave header not found."
                                << "Reelmarker" << int(MessageIcon::Error);
        QTest::newRow("data first") << bytes(WaveBuilder().chunk("fmt ", pcm).chunk("data", {}).bytes())
                                    << "This is a valid wave file\nbut cart chunk not found."
                                    << "Reelmarker" << int(MessageIcon::Error);
        QTest::newRow("no cart") << bytes(WaveBuilder().chunk("fmt ", pcm).chunk("LIST", ByteVector(4)).bytes())
                                 << "Cart chunk NOT found.\n\nNOT EDITABLE"
                                 << "Warning" << int(MessageIcon::Exclamation);
        QTest::newRow("empty cart") << bytes(WaveBuilder().chunk("fmt ", pcm).chunk("cart", {}).bytes())
                                    << "Invalid cart chunk header."
                                    << "Warning" << int(MessageIcon::Error);
    }

    void eachFailedLoadShowsItsBox() {
        QFETCH(QByteArray, file);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        UiFixture ui;
        const auto path = ui.dir.write("case.wav", ByteVector(file.begin(), file.end()));
        ui.Open(path);
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text, text);
        QCOMPARE(ui.Boxes()[0].caption, caption);
        QCOMPARE(int(ui.Boxes()[0].icon), icon);
        QVERIFY(!ui.Sheet().m_CartInfoPage.m_bCartLoaded);
        QVERIFY(!ui.ApplyEnabled());
    }

    void unopenableFileNamesTheApplicationAndKeepsThePath() {
        UiFixture ui;
        const auto missing = ui.dir.file("missing.wav");
        ui.Open(missing);
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text, QString("Unable to open file.\nMake sure it is not in use."));
        QCOMPARE(ui.Boxes()[0].caption, QString("reelmarker"));
        QCOMPARE(int(ui.Boxes()[0].icon), int(MessageIcon::None));
        QCOMPARE(qobject_cast<QLineEdit*>(ui.Item(kStartPage, IDC_PATH))->text(),
                 QString::fromStdString(missing.string()));
    }

    void formatIsShownAndClearedByTheNextLoad() {
        UiFixture ui;
        ByteVector block = fixture::FormatBlock(0x50, 2, 48000, 0);
        block[12] = block[13] = 0xFF;
        ui.Open(
            ui.dir.write("mpeg.wav", WaveBuilder().chunk("fmt ", block).chunk("cart", fixture::TypicalCart()).bytes()));
        auto text = [&ui](int id) { return qobject_cast<QLabel*>(ui.Item(kStartPage, id))->text(); };
        QCOMPARE(text(IDC_FORMAT_TAG), QString("MPEG"));
        QCOMPARE(text(IDC_CHANNELS), QString("2"));
        QCOMPARE(text(IDC_BLOCK_ALIGN), QString("-1"));
        ui.Open(ui.dir.write("junk.wav", {'j', 'u', 'n', 'k'}));
        QCOMPARE(text(IDC_FORMAT_TAG), QString());
        QCOMPARE(text(IDC_BLOCK_ALIGN), QString());
    }

    void cancellingTheOpenDialogChangesNothing() {
        UiFixture ui;
        const auto path = ui.dir.write("a.wav", fixture::TypicalWave());
        ui.Open(path);
        QTest::mouseClick(ui.Item(kStartPage, IDC_OPEN), Qt::LeftButton);  // no answer queued: cancelled
        QVERIFY(ui.Boxes().empty());
        QVERIFY(ui.Sheet().m_CartInfoPage.m_bCartLoaded);
        QCOMPARE(qobject_cast<QLineEdit*>(ui.Item(kStartPage, IDC_PATH))->text(),
                 QString::fromStdString(path.string()));
    }

    void closeRequestAndExitEndTheDialogWhenIdle() {
        UiFixture ui;
        QCloseEvent close;
        QCoreApplication::sendEvent(ui.dialog.get(), &close);
        QVERIFY(close.isAccepted());
        UiFixture again;
        QTest::mouseClick(again.dialog->m_btnExit, Qt::LeftButton);
        QCOMPARE(again.dialog->result(), int(QDialog::Accepted));
    }

    void aFileThatCannotBeWrittenIsShownButNotSaved() {
        UiFixture ui;
        const ByteVector before = fixture::TypicalWave();
        const auto path = ui.dir.write("a.wav", before);
        const fixture::Unwritable unwritable(path);
        if (!unwritable.Ok()) QSKIP("this file system lets the file be written whatever its mode");
        ui.Open(path);
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text, QString("This file is read-only: it can be viewed but cannot be saved."));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        auto* title = qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage, IDC_TITLE));
        QCOMPARE(title->text(), QString("Morning Jingle"));
        // Typing that could never be saved is not taken; the text can still
        // be read and selected.
        QTest::keyClicks(title, "!");
        QCOMPARE(title->text(), QString("Morning Jingle"));
        QVERIFY(title->isEnabled() && title->isReadOnly());
        QVERIFY(!ui.ApplyEnabled());
        QVERIFY(ui.ShowPage(kCartInfoPage2));
        for (const int id : {IDC_OUT_CUE, IDC_START_YEAR, IDC_URL}) {
            auto* edit = qobject_cast<QLineEdit*>(ui.Item(kCartInfoPage2, id));
            QVERIFY2(edit->isEnabled() && edit->isReadOnly(), qPrintable(QString::number(id)));
        }
        QVERIFY(ui.Sheet().m_InfoPage.m_stcChannels->text() != QString());
        QCOMPARE(ui.Boxes().size(), std::size_t{1});

        ui.Open(ui.dir.write("b.wav", before));
        QVERIFY(ui.ShowPage(kCartInfoPage));
        QVERIFY(!title->isReadOnly());
    }
};

QTEST_MAIN(MainDialogTest)
#include "MainDialogTest.moc"
