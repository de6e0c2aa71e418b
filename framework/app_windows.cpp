#include "framework/app_windows.h"

#include <cstddef>

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

std::string AfxLoadString(UINT id) {
    // A string-table entry holds at most 65535 characters.
    std::string text(65536, '\0');
    const int length = ::LoadStringA(AfxGetResourceHandle(), id, text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
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
