#include <windows.h>

#include <string>

#include "framework/program_folder.h"

namespace lumetra {

std::filesystem::path ProgramFolder(std::error_code& error) {
    // The module's wide name: the folder may hold characters that the ANSI
    // code page lacks. A name that fills the buffer may be cut: try larger.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            error.assign(static_cast<int>(GetLastError()), std::system_category());
            return {};
        }
        if (length < name.size()) {
            name.resize(length);
            error.clear();
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

}  // namespace lumetra
