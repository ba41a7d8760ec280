// Reelmarker: views and edits the broadcast metadata of WAV files.
#include <QApplication>

#include "CMainApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Boxes without a caption of their own show the program's name.
    QApplication::setApplicationName("reelmarker");
    CMainApp theApp;
    theApp.InitInstance();
    return 0;
}
