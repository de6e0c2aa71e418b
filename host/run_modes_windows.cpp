#include "host/run_modes_windows.h"

#include <commctrl.h>

#include <cstdint>
#include <functional>

#include "framework/app_windows.h"
#include "framework/replace_file.h"
#include "framework/system_library_windows.h"
#include "host/command_line.h"
#include "host/escaped_fault.h"
#include "host/saver_bases_windows.h"
#include "host/saver_host_windows.h"
#include "resources/resource_ids.h"

namespace lumetra {
namespace {

constexpr int kExitRefused = -1;
using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);

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

bool IsRealWindow(HWND hwnd) {
    return hwnd != nullptr && IsWindow(hwnd) != FALSE;
}

int RunOneMode(const char* text) {
    const ParsedCommand command = ParseRunMode(text);
    switch (command.mode) {
        case RunMode::Config: return ShowConfigDialog(nullptr);
        case RunMode::Saver: return RunSaverWindow(nullptr);
        case RunMode::ConfigOwned: return ShowConfigDialog(GetForegroundWindow());
        case RunMode::Preview: return RunPreview(command.rest);
        case RunMode::ChangePassword:
            return g_saverHost.bWin9x != FALSE ? RunChangePassword(command.rest) : kExitRefused;
        case RunMode::Invalid: break;
    }
    return kExitRefused;
}

// Structured faults (an access violation, say) raised by the program's own
// code while a mode runs end the process with kExitFault, after the
// screen-saver-running flag has been lowered. They are caught at the first
// chance, because the system's callback dispatcher swallows exceptions
// raised inside a window procedure, and the saver would otherwise run on in
// an unknown state. A fault that system code raises, usually to handle it
// itself (a probe of memory, say), passes through untouched; one that
// nobody handles ends the process at the last chance in the same way.
bool IsFault(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_PRIV_INSTRUCTION:
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_STACK_OVERFLOW:
        case EXCEPTION_IN_PAGE_ERROR:
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case EXCEPTION_NONCONTINUABLE_EXCEPTION: return true;
        default: return false;  // C++ exceptions, breakpoints and the like take their usual way
    }
}

// Whether `address` lies in the image of the module that holds this code.
bool IsOwnCode(const void* address) {
    HMODULE self = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&IsOwnCode), &self) == FALSE) {
        return false;
    }
    const auto* base = reinterpret_cast<const BYTE*>(self);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const auto* at = static_cast<const BYTE*>(address);
    return !std::less<>()(at, base) && std::less<>()(at, base + nt->OptionalHeader.SizeOfImage);
}

// Ends at once: no library's detach code and no destructor runs in a
// process whose state a fault has left unknown.
[[noreturn]] void EndWithFault() {
    SetSaverRunning(FALSE);
    RemoveUnfinishedTemporaryFiles();
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(kExitFault));
    ExitProcess(static_cast<UINT>(kExitFault));  // not reached: TerminateProcess does not return for itself
}

LONG WINAPI OnFirstChance(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& record = *info->ExceptionRecord;
    if (!IsFault(record.ExceptionCode) || !IsOwnCode(record.ExceptionAddress)) return EXCEPTION_CONTINUE_SEARCH;
    EndWithFault();
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* info) {
    if (!IsFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
    EndWithFault();
}

class FaultGuard {
public:
    FaultGuard()
        : m_handler(AddVectoredExceptionHandler(1, OnFirstChance)),
          m_previous(SetUnhandledExceptionFilter(OnUnhandled)) {}
    ~FaultGuard() {
        SetUnhandledExceptionFilter(m_previous);
        if (m_handler != nullptr) RemoveVectoredExceptionHandler(m_handler);
    }
    FaultGuard(const FaultGuard&) = delete;
    FaultGuard& operator=(const FaultGuard&) = delete;

private:
    void* m_handler;
    LPTOP_LEVEL_EXCEPTION_FILTER m_previous;
};

}  // namespace

void StartFromCommandLine() {
    // Before anything loads a library: none from the program's folder.
    SearchLibrariesInSystemFolderOnly();
    const char* rest = SkipProgramName(GetCommandLineA());
    ExitProcess(static_cast<UINT>(SaverMain(GetModuleHandleA(nullptr), rest)));
}

int SaverMain(HINSTANCE instance, const char* text) {
    g_saverHost.hInstance = instance;
    g_saverHost.bWin9x = IsWin9xFamily() ? TRUE : FALSE;
    const FaultGuard guard;
    try {
        const int result = RunOneMode(text);
        RethrowEscapedFault();
        return result;
    } catch (...) {
        SetSaverRunning(FALSE);
        return kExitFault;
    }
}

int ShowConfigDialog(HWND owner) {
    AfxSetResourceHandle(g_saverHost.hInstance);
    // The template's trackbars and list view are common controls: register their classes.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return static_cast<int>(
        DialogBoxParamA(g_saverHost.hInstance, MAKEINTRESOURCEA(IDD_CONFIG), owner, BridgeDialogProc, 0));
}

int RunPreview(const char* text) {
    HWND parent = HandleFromText(text);
    if (!IsRealWindow(parent)) return kExitRefused;
    return RunSaverWindow(parent);
}

int RunChangePassword(const char* text) {
    HWND owner = HandleFromText(text);
    ChangePassword(IsRealWindow(owner) ? owner : GetForegroundWindow());
    return 0;
}

void ChangePassword(HWND owner) {
    HMODULE library = LoadSystemLibrary("MPR.DLL");
    if (library == nullptr) return;
    auto change =
        reinterpret_cast<PwdChangePasswordFn>(reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change != nullptr) change("SCRSAVE", owner, 0, nullptr);
    FreeLibrary(library);
}

}  // namespace lumetra
