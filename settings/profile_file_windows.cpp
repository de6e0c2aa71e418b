#include <windows.h>

#include <array>
#include <atomic>

#include "settings/profile_file.h"

namespace lumetra {
namespace {

// Another process may hold the file for a moment (a reader without delete
// sharing, a virus scanner); such conflicts are retried for up to ~0.1 s.
constexpr int kBusyAttempts = 50;
constexpr DWORD kBusyPauseMs = 2;

bool IsBusy(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Owns one open file handle.
class CHandle {
public:
    explicit CHandle(HANDLE handle) : m_hFile(handle) {}
    ~CHandle() {
        if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    HANDLE Get() const { return m_hFile; }
    bool Close() {
        const HANDLE handle = m_hFile;
        m_hFile = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE m_hFile;
};

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

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = data.size() > 0x40000000U ? 0x40000000U : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (WriteFile(file, data.data(), chunk, &written, nullptr) == FALSE || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

// Beside the target, so that the rename stays within one volume.
std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> s_nCounter{0};
    return path + "." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(s_nCounter++) + ".tmp";
}

HANDLE CreateTemporary(const std::string& path, std::string& name) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name = TemporaryNameFor(path);
        const HANDLE handle =
            CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
    }
    return INVALID_HANDLE_VALUE;
}

bool MoveIntoPlace(const std::string& from, const std::string& to) {
    for (int attempt = 0; attempt < kBusyAttempts; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
            return true;
        }
        if (!IsBusy(GetLastError()) || IsFolder(to)) return false;
        Sleep(kBusyPauseMs);
    }
    return false;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    DWORD error = 0;
    const CHandle file(OpenForReading(path, error));
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

bool ReplaceFileWhole(const std::string& path, std::string_view contents) {
    // The owner made the file read-only: leave it so (a rename would only fail later).
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
    std::string temporary;
    CHandle file(CreateTemporary(path, temporary));
    if (file.Get() == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file.Get(), contents) && FlushFileBuffers(file.Get()) != FALSE;
    ok = file.Close() && ok;
    ok = ok && MoveIntoPlace(temporary, path);
    if (!ok) DeleteFileA(temporary.c_str());
    return ok;
}

}  // namespace lumetra
