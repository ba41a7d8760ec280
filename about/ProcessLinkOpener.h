#pragma once

#include <QProcess>
#include <functional>

#include "about/LinkOpener.h"

// The desktop's default text/html handler as a registered command (its
// desktop entry's Exec line, field codes as the "%1" placeholder); empty
// when the desktop names none.
std::optional<QString> DesktopHtmlHandler();

// Opens links by running the desktop's opener program and learning from its
// exit status whether the link was opened. The opener runs while the window
// goes on: its result arrives later through the event loop. When it fails,
// the web browser's registered command is started instead.
class ProcessLinkOpener : public LinkOpener {
public:
    using HandlerQuery = std::function<std::optional<QString>()>;

    explicit ProcessLinkOpener(QString opener = "xdg-open", HandlerQuery htmlHandler = DesktopHtmlHandler);
    void OpenTarget(const QString& target, QObject* context, OpenResult done) override;
    void OpenInBrowser(const QString& address) override;

private:
    QString opener_;
    HandlerQuery htmlHandler_;
};

// The result an opener's end stands for. The exit codes are xdg-open's:
// 0 opened, 2 no such file, 3 no tool to open it with, others failed.
int OpenerResult(QProcess::ExitStatus status, int exitCode);
