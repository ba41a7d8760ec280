#pragma once

#include <QString>

#include "WaveDocument.h"

// The application object: runs the main dialog, and the program ends with it.
class CMainApp {
public:
    // Returns false: the dialog was the whole program.
    bool InitInstance();

    // The walk chosen on the command line.
    wave::ChunkWalk m_walk = wave::ChunkWalk::FixedOrder;
    // The file named on the command line, opened once the window shows;
    // empty when none was named.
    QString m_strFileAtStart;
};
