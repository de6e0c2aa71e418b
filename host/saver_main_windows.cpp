// Process entry of lumetra.scr: strips the program name and runs one mode.
// The saver window and the dialog join as they are built; until then the
// modes answer with the exit codes their callers expect.
#include <windows.h>

#include "host/command_line.h"

namespace lumetra {
namespace {

bool IsWin9xFamily() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);  // 148: the ANSI record
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
    return ok != FALSE && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

HWND HandleFromText(const char* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(ParseHandle(text)));
}

int RunPreview(const char* text) {
    HWND parent = HandleFromText(text);
    if (parent == nullptr || IsWindow(parent) == FALSE) return -1;
    return 0;
}

}  // namespace

int SaverMain(const char* text) {
    const ParsedCommand command = ParseRunMode(text);
    switch (command.mode) {
        case RunMode::Config:
        case RunMode::ConfigOwned: return IDCANCEL;
        case RunMode::Saver: return 0;
        case RunMode::Preview: return RunPreview(command.rest);
        case RunMode::ChangePassword: return IsWin9xFamily() ? 0 : -1;
        case RunMode::Invalid: break;
    }
    return -1;
}

}  // namespace lumetra

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ExitProcess(static_cast<UINT>(lumetra::SaverMain(lumetra::SkipProgramName(GetCommandLineA()))));
}
