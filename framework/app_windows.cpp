#include "framework/app_windows.h"

namespace lumetra {

ModuleState* AfxGetModuleState() {
    static ModuleState state;
    return &state;
}

HINSTANCE AfxGetResourceHandle() {
    HINSTANCE resource = AfxGetModuleState()->hResource;
    return resource != nullptr ? resource : ::GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE resource) {
    AfxGetModuleState()->hResource = resource;
}

bool AfxWinInit(HINSTANCE instance, HINSTANCE /*previous*/, const char* commandLine, int showCommand) {
    ModuleState* state = AfxGetModuleState();
    state->hInstance = instance;
    state->hResource = instance;
    state->bRunning = true;
    ++state->nStarts;
    if (CWinApp* app = state->pCurrentApp) {
        app->m_hInstance = instance;
        app->m_lpCmdLine = commandLine != nullptr ? commandLine : "";
        app->m_nCmdShow = showCommand;
    }
    return true;
}

void AfxWinTerm() {
    AfxGetModuleState()->bRunning = false;
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName) {
    ModuleState* state = AfxGetModuleState();
    if (state->pCurrentApp == nullptr) state->pCurrentApp = this;
}

CWinApp::~CWinApp() {
    ModuleState* state = AfxGetModuleState();
    if (state->pCurrentApp == this) state->pCurrentApp = nullptr;
}

}  // namespace lumetra
