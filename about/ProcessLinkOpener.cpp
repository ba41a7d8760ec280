#include "about/ProcessLinkOpener.h"

#include <QDesktopServices>
#include <QFile>
#include <QPointer>
#include <QStandardPaths>
#include <QUrl>

namespace {

constexpr int kHandlerQueryMs = 3000;      // xdg-mime is a shell script; never wait longer
constexpr qint64 kEntryBytes = 64 * 1024;  // a desktop entry is a few kilobytes

// Starts the registered command on the target; the opener's own result
// stands when there is no command to start.
int StartRegisteredCommand(const ProcessLinkOpener::HandlerQuery& htmlHandler, const QString& target,
                           int openerResult) {
    const std::optional<QString> registered = htmlHandler ? htmlHandler() : std::nullopt;
    if (!registered) return openerResult;
    const std::string targetBytes = target.toStdString();
    const std::optional<std::string> line = FallbackCommand(registered->toStdString(), targetBytes);
    if (!line) return openerResult;
    // Only the registered part is split into arguments; the target goes
    // whole, so blanks or quotes in it never become arguments of their own.
    const std::string command = line->substr(0, line->size() - targetBytes.size());
    QStringList arguments = QProcess::splitCommand(QString::fromStdString(command));
    if (arguments.isEmpty()) return kOpenFileNotFound;
    const QString program = arguments.takeFirst();
    arguments << target;
    return QProcess::startDetached(program, arguments) ? kOpenSucceeded : kOpenFileNotFound;
}

}  // namespace

std::optional<QString> DesktopHtmlHandler() {
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/html"});
    if (!query.waitForFinished(kHandlerQueryMs)) {
        query.kill();
        query.waitForFinished(kHandlerQueryMs);
        return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return std::nullopt;
    const QString id = QString::fromLocal8Bit(query.readAllStandardOutput()).section('\n', 0, 0).trimmed();
    // A desktop file id is a bare file name; anything else is not looked up.
    if (!id.endsWith(".desktop") || id.contains('/')) return std::nullopt;
    // An id's dashes may stand for subfolders: "kde-foo.desktop" can be kde/foo.desktop.
    QString candidate = id;
    QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, candidate);
    for (qsizetype dash = candidate.indexOf('-'); path.isEmpty() && dash >= 0; dash = candidate.indexOf('-')) {
        candidate[dash] = '/';
        path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, candidate);
    }
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    const std::optional<QString> exec = DesktopEntryExec(QString::fromUtf8(file.read(kEntryBytes)));
    if (!exec) return std::nullopt;
    return PlaceholderCommand(*exec);
}

ProcessLinkOpener::ProcessLinkOpener(QString opener, HandlerQuery htmlHandler)
    : opener_(std::move(opener)), htmlHandler_(std::move(htmlHandler)) {}

void ProcessLinkOpener::OpenTarget(const QString& target, QObject* context, OpenResult done) {
    // Not owned by the window: closing it must not kill an opener that is
    // still starting the handler. The process deletes itself when it ends.
    auto* process = new QProcess;
    process->setProgram(opener_);
    process->setArguments({target});
    // A handler may write a lot; nothing here reads it, so no pipe fills up.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    const QPointer<QObject> receiver(context);
    const auto finish = [process, receiver, target, htmlHandler = htmlHandler_, done = std::move(done)](int result) {
        process->deleteLater();
        if (!receiver) return;
        done(result > 32 ? result : StartRegisteredCommand(htmlHandler, target, result));
    };
    QObject::connect(process, &QProcess::finished, process,
                     [finish](int exitCode, QProcess::ExitStatus status) { finish(OpenerResult(status, exitCode)); });
    QObject::connect(process, &QProcess::errorOccurred, process, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) finish(kOpenFileNotFound);  // no opener program
    });
    process->start();
}

void ProcessLinkOpener::OpenInBrowser(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

int OpenerResult(QProcess::ExitStatus status, int exitCode) {
    if (status != QProcess::NormalExit) return kOpenAssociationIncomplete;
    switch (exitCode) {
        case 0: return kOpenSucceeded;
        case 2: return kOpenFileNotFound;
        case 3: return kOpenNoAssociation;
        default: return kOpenAssociationIncomplete;
    }
}
