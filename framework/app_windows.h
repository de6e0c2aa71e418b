// Module state: the instance, the handle that resource look-ups search, and
// the one application object. The host runs its own message loop, so the
// framework here only has to be started and ended around the saver window.
#pragma once

#include <windows.h>

namespace lumetra {

class CWinApp;

struct ModuleState {
    HINSTANCE hInstance = nullptr;   // set by AfxWinInit
    HINSTANCE hResource = nullptr;   // where strings, bitmaps and dialogs are looked up
    CWinApp* pCurrentApp = nullptr;  // the one application object, or null
    bool bRunning = false;           // between AfxWinInit and AfxWinTerm
    int nStarts = 0;                 // AfxWinInit calls so far, for the tests' sake
};

ModuleState* AfxGetModuleState();

// The handle that resource look-ups search; the program's own module until set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resource);

// Starts the framework for a module: records the instance and makes it the
// resource handle. The command line and show command are kept on the
// application object when there is one.
bool AfxWinInit(HINSTANCE instance, HINSTANCE previous, const char* commandLine, int showCommand);
// Ends what AfxWinInit started.
void AfxWinTerm();

class CWinApp {
public:
    // Becomes the module's current application when there is none yet.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    const char* m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
    const char* m_lpCmdLine = "";
    int m_nCmdShow = SW_SHOWNORMAL;
};

}  // namespace lumetra
