// Reelmarker: views and edits the broadcast metadata of WAV files.
#include <QApplication>
#include <QCommandLineParser>

#include "CMainApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Boxes without a caption of their own show the program's name.
    QApplication::setApplicationName("reelmarker");

    QCommandLineParser parser;
    parser.setApplicationDescription("Views and edits the cart chunk of broadcast WAV files, in place.");
    parser.addHelpOption();
    const QCommandLineOption anyLayout("any-layout",
                                       "Find the fmt, bext and cart chunks in any order, also in RF64 and BW64 files.");
    parser.addOption(anyLayout);
    parser.process(application);

    CMainApp theApp;
    theApp.m_walk = parser.isSet(anyLayout) ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder;
    theApp.InitInstance();
    return 0;
}
