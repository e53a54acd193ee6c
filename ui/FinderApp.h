// The application object: runs the main dialog modally for the whole life of the program.
#pragma once

#include "platform/ByteString.h"

class QWidget;

class CFinderApp {
public:
    CFinderApp() = default;
    CFinderApp(const CFinderApp&) = delete;
    CFinderApp& operator=(const CFinderApp&) = delete;
    ~CFinderApp() = default;

    // Runs the main dialog modally and returns when it has ended, however it ended. Always
    // false: the program has no message loop of its own and ends with the dialog. A
    // QApplication must exist.
    bool InitInstance();

    // F1: a short help text in a box.
    void OnHelp(QWidget* pParent) const;

    // The executable's file name without its extension: the caption of every notice box.
    CString AppTitle() const;
};

// The one application object. It holds no state and touches neither search event while it is
// constructed, so it does not matter in which order it and the two events are built.
extern CFinderApp theApp;

// The text that F1 shows.
extern const char* const g_pszHelpText;
