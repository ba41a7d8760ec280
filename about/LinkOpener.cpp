#include "about/LinkOpener.h"

#include "about/ProcessLinkOpener.h"
#include "framework/ServiceSlot.h"

namespace {

constexpr std::size_t kCommandBytes = 520;  // the launcher's line, terminator included

using Slot = framework::ServiceSlot<LinkOpener, ProcessLinkOpener>;

}  // namespace

LinkOpener& LinkOpeners() { return Slot::Current(); }

std::unique_ptr<LinkOpener> SetLinkOpener(std::unique_ptr<LinkOpener> opener) {
    return Slot::Replace(std::move(opener));
}

QString OpenErrorText(int code) {
    // Compared unsigned: a negative code is no known error.
    switch (static_cast<unsigned>(code)) {
        case 0: return "The operating system is out\nof memory or resources.";
        case 2: return "The specified file was not found.";
        case 3: return "The specified path was not found.";
        case 5: return "The operating system denied\naccess to the specified file.";
        case 8: return "There was not enough memory to complete the operation.";
        case 11: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
        case 26: return "A sharing violation occurred. ";
        case 27: return "The filename association is\nincomplete or invalid.";
        case 28: return "The DDE transaction could not\nbe completed because the request timed out.";
        case 29: return "The DDE transaction failed.";
        case 30:
            return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        case 31: return "There is no application associated\nwith the given filename extension.";
        case 32: return "The specified dynamic-link library was not found.";
        default: return QString("Unknown Error (%1) occurred.").arg(code);
    }
}

std::optional<std::string> FallbackCommand(std::string_view registered, std::string_view target) {
    std::string command(registered);
    std::size_t cut = command.find("\"%1\"");
    if (cut == std::string::npos) cut = command.find("%1");
    if (cut != std::string::npos) command.erase(cut);
    command += ' ';
    command += target;
    if (command.size() >= kCommandBytes) return std::nullopt;
    return command;
}

std::optional<QString> DesktopEntryExec(const QString& entry) {
    bool inMainGroup = false;
    for (const QString& rawLine : entry.split('\n')) {
        const QString line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || equals < 0 || line.left(equals).trimmed() != "Exec") continue;
        const QString value = line.mid(equals + 1).trimmed();
        QString unescaped;
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (value[i] != '\\' || i + 1 == value.size()) {
                unescaped += value[i];
                continue;
            }
            const QChar next = value[++i];
            unescaped += next == 's'   ? QChar(' ')
                         : next == 'n' ? QChar('\n')
                         : next == 't' ? QChar('\t')
                         : next == 'r' ? QChar('\r')
                                       : next;
        }
        return unescaped;
    }
    return std::nullopt;
}

QString PlaceholderCommand(const QString& exec) {
    QString command;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        if (exec[i] != '%' || i + 1 == exec.size()) {
            command += exec[i];
            continue;
        }
        const QChar code = exec[++i];
        if (code == 'u' || code == 'U' || code == 'f' || code == 'F') {
            command += "%1";
        } else if (code == '%') {
            command += '%';
        }
    }
    return command;
}
