#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QObject;

// Opening links: web addresses and "mailto:" links go to the desktop's
// handlers. Every link of the program goes through this service, so tests
// can replace it and no browser or mail program ever starts from them.

// Results of an open, as the shell reports them: above 32 is success, the
// rest are the error codes OpenErrorText explains.
inline constexpr int kOpenSucceeded = 33;
inline constexpr int kOpenFileNotFound = 2;            // the opener or the fallback's program is missing
inline constexpr int kOpenAssociationIncomplete = 27;  // the handler failed to open it
inline constexpr int kOpenNoAssociation = 31;          // the desktop has no handler for it

// Receives the result of an open, as above.
using OpenResult = std::function<void(int result)>;

class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // Opens the target with its desktop handler; when that fails, with the
    // default web browser's command. Opening may take a while: the result
    // reaches done when the opener has finished, usually later through the
    // event loop, and only while the context object still exists.
    virtual void OpenTarget(const QString& target, QObject* context, OpenResult done) = 0;
    // Starts the web browser on the address. The outcome is not reported.
    virtual void OpenInBrowser(const QString& address) = 0;
};

// The service in use; the desktop one unless replaced.
LinkOpener& LinkOpeners();
// Installs a service (tests); returns the one it replaces.
std::unique_ptr<LinkOpener> SetLinkOpener(std::unique_ptr<LinkOpener> opener);

// The message text for an open that failed with that result.
QString OpenErrorText(int code);

// The command line that opens the target with a registered command: the
// command is cut at its first quoted "%1" placeholder, failing that at its
// first bare "%1", then a space and the target follow. Empty when the line
// would not fit the 520 bytes (terminator included) the launcher allows.
// Byte searches are safe on UTF-8: no byte of a multibyte character is ASCII.
std::optional<std::string> FallbackCommand(std::string_view registered, std::string_view target);

// The Exec value of a desktop entry's [Desktop Entry] group, with the
// entry format's escapes undone; empty when there is none.
std::optional<QString> DesktopEntryExec(const QString& entry);

// A desktop entry's command with its file and address field codes (%u,
// %U, %f, %F) as the "%1" placeholder, "%%" as "%", other codes dropped.
QString PlaceholderCommand(const QString& exec);
