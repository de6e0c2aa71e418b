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
