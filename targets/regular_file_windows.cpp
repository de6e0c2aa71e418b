#include <windows.h>

#include "targets/regular_file.h"

namespace lumetra {
namespace {

std::error_code LastError() {
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

class CFileHandle {
public:
    explicit CFileHandle(HANDLE handle) : m_hFile(handle) {}
    ~CFileHandle() {
        if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    HANDLE Get() const { return m_hFile; }

private:
    HANDLE m_hFile;
};

}  // namespace

std::error_code ReadRegularFile(const std::filesystem::path& path, std::string& contents) {
    const CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) return LastError();
    // A pipe or a device would make the read wait for its peer.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return std::make_error_code(std::errc::invalid_argument);
    contents.clear();
    char block[65536];
    for (;;) {
        DWORD got = 0;
        if (::ReadFile(file.Get(), block, sizeof block, &got, nullptr) == FALSE) return LastError();
        if (got == 0) return {};
        contents.append(block, got);
    }
}

}  // namespace lumetra
