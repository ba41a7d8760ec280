#include "tests/ui/RecordingLinkOpener.h"

void RecordingLinkOpener::OpenTarget(const QString& target, QObject*, OpenResult done) {
    targets << target;
    done(result);
}

void RecordingLinkOpener::OpenInBrowser(const QString& address) { browserAddresses << address; }
