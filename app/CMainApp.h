#pragma once

#include <QStringList>

#include "wave/WaveDocument.h"

// The application object: runs the main dialog, and the program ends with it.
class CMainApp {
public:
    // Returns false: the dialog was the whole program.
    bool InitInstance();

    // The walk chosen on the command line.
    wave::ChunkWalk m_walk = wave::ChunkWalk::FixedOrder;
    // The files named on the command line, the first opened once the window
    // shows; empty when none was named.
    QStringList m_filesAtStart;
};
