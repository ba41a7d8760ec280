// The program's start with files named on its command line.
#include <QTest>
#include <QTimer>

#include "app/CMainApp.h"
#include "tests/ui/UiFixture.h"

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationName("reelmarker"); }

    void ofSeveralFilesTheFirstOpensAndTheUserIsToldSo() {
        UiFixture ui;  // recorded boxes; its own window stays out of the way
        ui.dialog->hide();
        const auto a = ui.dir.write("a.wav", fixture::TypicalWave());
        const auto b = ui.dir.write("b.wav", fixture::TypicalWave());
        CMainApp app;
        app.m_filesAtStart = {QString::fromStdString(a.string()), QString::fromStdString(b.string())};
        // Ends the program's window once it has opened a file.
        std::string opened;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* window = static_cast<CMainDlg*>(framework::AfxGetMainWnd());
            if (window == nullptr || window == ui.dialog.get() || window->Sheet()->m_InfoPage.m_strPath.empty()) return;
            opened = window->Sheet()->m_InfoPage.m_strPath;
            window->close();
        });
        poll.start(10);
        app.InitInstance();
        QCOMPARE(opened, a.string());
        QCOMPARE(ui.Boxes().size(), std::size_t{1});
        QCOMPARE(ui.Boxes()[0].text,
                 "2 files were named on the command line. One file is open at a time, so only "
                 "the first opens:\n" +
                     QString::fromStdString(a.string()));
    }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
