// Reelmarker: views and edits the broadcast metadata of WAV files.
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include "app/CMainApp.h"
#include "texts/ProgramName.h"

namespace {

// Help and version need no window: they are answered before the window
// system starts, so that they work where there is no display. Anything the
// parser cannot take yet may be the window system's own option, and waits
// for the full parse.
void AnswerWithoutWindow(QCommandLineParser& parser, int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments)) return;
    if (!parser.isSet("help") && !parser.isSet("help-all") && !parser.isSet("version")) return;
    const QCoreApplication core(argc, argv);
    parser.process(core);  // prints the answer and ends the program
}

}  // namespace

int main(int argc, char** argv) {
    // Boxes without a caption of their own show the program's name.
    QCoreApplication::setApplicationName(texts::kDesktopCommand);
    QCoreApplication::setApplicationVersion(REELMARKER_VERSION);

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
    AnswerWithoutWindow(parser, argc, argv);

    QApplication application(argc, argv);
    parser.process(application);

    CMainApp theApp;
    theApp.m_walk = parser.isSet(anyLayout) ? wave::ChunkWalk::AnyLayout : wave::ChunkWalk::FixedOrder;
    for (const QString& file : parser.positionalArguments()) {
        theApp.m_filesAtStart << QFileInfo(file).absoluteFilePath();
    }
    theApp.InitInstance();
    return 0;
}
