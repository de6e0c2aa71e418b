// raw_launch.exe LINE: starts LINE exactly as written as a process's command
// line (no quoting added around blanks or tabs) and exits with its exit code.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::string line = argv[1];
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child) == FALSE) {
        return 97;
    }
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return static_cast<int>(code);
}
