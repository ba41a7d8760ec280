// Reelmarker: views and edits the broadcast metadata of WAV files.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include "CMainApp.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Boxes without a caption of their own show the program's name.
    QApplication::setApplicationName("reelmarker");
    QApplication::setApplicationVersion(REELMARKER_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Views and edits the cart chunk of broadcast WAV files, in place.");
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption anyLayout("any-layout",
                                       "Find the fmt, bext and cart chunks in any order, also in RF64 and BW64 files.");
    parser.addOption(anyLayout);
    parser.addPositionalArgument("file", "The WAV file to open at start, as Open would.", "[file]");
    // Options come first; whatever follows the file is a name, even one starting with a dash.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(application);

    CMainApp theApp;
    theApp.m_walk = parser.isSet(anyLayout) ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder;
    if (!parser.positionalArguments().isEmpty()) {
        theApp.m_strFileAtStart = QFileInfo(parser.positionalArguments().front()).absoluteFilePath();
    }
    theApp.InitInstance();
    return 0;
}
