// Draws the main window offscreen into a PNG for the documentation:
//   reelmarker-screenshot OUTPUT.png [PAGE [FILE.wav]]
// opens FILE through the Start page's Open button, then shows PAGE.
#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <cstdio>

#include "app/CCartCkSheet.h"
#include "app/CMainDlg.h"
#include "framework/FileChooser.h"
#include "res/resource.h"
#include "texts/ProgramName.h"

namespace {

constexpr int kOverviewWaitMs = 10000;

class FixedChoice : public framework::FileChooser {
public:
    explicit FixedChoice(QString path) : path_(std::move(path)) {}
    std::optional<QString> ChooseFileToOpen(QWidget*, const QString&, const QString&) override { return path_; }

private:
    QString path_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(texts::kDesktopCommand);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [PAGE [FILE.wav]]\n", argv[0]);
        return 2;
    }
    CMainDlg dialog;
    framework::AfxSetMainWnd(&dialog);
    dialog.show();
    if (argc > 3) {
        framework::SetFileChooser(std::make_unique<FixedChoice>(QString::fromLocal8Bit(argv[3])));
        qobject_cast<QPushButton*>(dialog.Sheet()->m_InfoPage.GetDlgItem(IDC_OPEN))->click();
    }
    if (argc > 2) dialog.Sheet()->TabBar()->setCurrentIndex(QString(argv[2]).toInt());
    // The Player page's waveform is drawn once its overview is complete.
    CPlayerPage& player = dialog.Sheet()->m_PlayerPage;
    if (player.OverviewRunning()) {
        QEventLoop overview;
        QObject::connect(&player, &CPlayerPage::overviewFinished, &overview, &QEventLoop::quit);
        QTimer::singleShot(kOverviewWaitMs, &overview, &QEventLoop::quit);
        overview.exec();
    }
    QApplication::processEvents();
    const bool saved = dialog.grab().save(QString::fromLocal8Bit(argv[1]));
    framework::AfxSetMainWnd(nullptr);
    return saved ? 0 : 1;
}
