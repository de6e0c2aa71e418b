// An ICMP.DLL of the tests' own, put beside the saver: if it is ever loaded,
// it says so in the file that LUMETRA_TEST_DLL_LOG names.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LUMETRA_TEST_DLL_LOG", path, sizeof(path)) == 0) return TRUE;
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    WriteFile(log, "ICMP.DLL loaded from beside the saver\n", 38, &written, nullptr);
    CloseHandle(log);
    return TRUE;
}
