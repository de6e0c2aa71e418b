#include <windows.h>

#include <array>

#include "framework/file_handle_windows.h"
#include "settings/profile_file.h"

namespace lumetra {

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

HANDLE OpenForReading(const std::string& path, DWORD& error) {
    for (int attempt = 0;; ++attempt) {
        // Full sharing, so that a writer can rename a new file over this one.
        const HANDLE handle =
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        error = GetLastError();
        if (handle != INVALID_HANDLE_VALUE || !IsBusy(error) || attempt + 1 == kBusyAttempts || IsFolder(path)) {
            return handle;
        }
        Sleep(kBusyPauseMs);
    }
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    DWORD error = 0;
    const CFileHandle file(OpenForReading(path, error));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
        return std::nullopt;
    }
    std::string text;
    std::array<char, 65536> buffer{};
    for (;;) {
        DWORD got = 0;
        if (ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) == FALSE) {
            return std::nullopt;
        }
        if (got == 0) return text;
        text.append(buffer.data(), got);
    }
}

}  // namespace lumetra
