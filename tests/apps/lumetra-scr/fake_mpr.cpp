// A stand-in for the system's password changer: appends its arguments and the
// foreground window at the call to the file that LUMETRA_TEST_MPR_LOG names,
// one line per call.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD flags, LPVOID reserved) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LUMETRA_TEST_MPR_LOG", path, sizeof(path)) == 0) return 0;
    std::FILE* log = std::fopen(path, "a");
    if (log == nullptr) return 0;
    std::fprintf(log, "%s %llu %lu %p %llu\n", provider != nullptr ? provider : "(null)",
                 static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(owner)), flags, reserved,
                 static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetForegroundWindow())));
    std::fclose(log);
    return 0;
}
