#pragma once

// The application object: runs the main dialog, and the program ends with it.
class CMainApp {
public:
    // Returns false: the dialog was the whole program.
    bool InitInstance();
};
