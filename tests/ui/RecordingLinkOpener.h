#pragma once

#include <QStringList>

#include "about/LinkOpener.h"

// Records what would have been opened and answers at once with a set result.
class RecordingLinkOpener : public LinkOpener {
public:
    void OpenTarget(const QString& target, QObject* context, OpenResult done) override;
    void OpenInBrowser(const QString& address) override;
    int result = kOpenSucceeded;
    QStringList targets;
    QStringList browserAddresses;
};
