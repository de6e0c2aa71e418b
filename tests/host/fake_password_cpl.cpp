// A stand-in for the system's password verifier: answers as the test says,
// counts its calls, and runs the test's hook while "its dialog" is up.
#include <windows.h>

namespace {

BOOL g_answer = FALSE;
int g_calls = 0;
void (*g_hook)(HWND) = nullptr;

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND hwnd) {
    ++g_calls;
    if (g_hook != nullptr) g_hook(hwnd);
    return g_answer;
}

extern "C" __declspec(dllexport) void TestConfigure(BOOL answer, void (*hook)(HWND)) {
    g_answer = answer;
    g_hook = hook;
}

extern "C" __declspec(dllexport) int TestCalls() {
    return g_calls;
}

// For the scripts, through rundll32: "PASSWORD.CPL,SaverRunningFlag raise"
// raises the system's screen-saver-running flag; any other argument writes
// whether it is raised to the file that LUMETRA_TEST_CPL_LOG names.
extern "C" __declspec(dllexport) void CALLBACK
    SaverRunningFlag(HWND /*hwnd*/, HINSTANCE /*instance*/, LPSTR argument, int /*show*/) {
    if (lstrcmpA(argument, "raise") == 0) {
        BOOL previous = FALSE;
        SystemParametersInfoA(97, TRUE, &previous, 0);  // SPI_SETSCREENSAVERRUNNING
        return;
    }
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LUMETRA_TEST_CPL_LOG", path, sizeof(path)) == 0) return;
    BOOL running = FALSE;
    SystemParametersInfoA(114, 0, &running, 0);  // SPI_GETSCREENSAVERRUNNING
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    const char* text = running != FALSE ? "raised\n" : "lowered\n";
    DWORD written = 0;
    WriteFile(log, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
    CloseHandle(log);
}

// When the process ends with this library still loaded (a saver that ended in
// a fault), writes whether the screen-saver-running flag is still raised to
// the file that LUMETRA_TEST_CPL_LOG names: it must have been lowered.
BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID reserved) {
    if (reason != DLL_PROCESS_DETACH || reserved == nullptr) return TRUE;  // null: an ordinary FreeLibrary
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LUMETRA_TEST_CPL_LOG", path, sizeof(path)) == 0) return TRUE;
    BOOL running = FALSE;
    SystemParametersInfoA(114, 0, &running, 0);  // SPI_GETSCREENSAVERRUNNING
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return TRUE;
    const char* text = running != FALSE ? "flag raised at exit\n" : "flag lowered at exit\n";
    DWORD written = 0;
    WriteFile(log, text, static_cast<DWORD>(lstrlenA(text)), &written, nullptr);
    CloseHandle(log);
    return TRUE;
}
