// Windows: one open file handle, closed with its owner, and the rule for a
// file that another process holds for a moment.
#pragma once

#include <windows.h>

#include <utility>

namespace lumetra {

class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle) : m_hFile(handle) {}
    ~CFileHandle() {
        if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    HANDLE Get() const { return m_hFile; }
    // Closes it now, for a caller that must know whether the close worked.
    bool Close() { return CloseHandle(std::exchange(m_hFile, INVALID_HANDLE_VALUE)) != FALSE; }

private:
    HANDLE m_hFile;
};

// Another process may hold a file for a moment (a reader without delete
// sharing, a virus scanner); such conflicts are retried for up to ~0.1 s.
constexpr int kBusyAttempts = 50;
constexpr DWORD kBusyPauseMs = 2;

inline bool IsBusy(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace lumetra
