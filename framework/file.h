// CFile: a binary file opened by path, written in blocks. Failures to open are
// returned (the caller decides how quiet to be); failures to write or close
// are thrown, so a half-written file is never taken for a good one.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace lumetra {

class CFile {
public:
    enum : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
    };

    CFile() = default;
    ~CFile();
    CFile(CFile&& other) noexcept;
    CFile& operator=(CFile&& other) noexcept;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens `path` (8-bit, taken as given) with the mode flags. modeCreate
    // creates or truncates; without it the file must exist and keeps its
    // bytes. Closes any file this object had open first. False on failure,
    // with the system's error in LastError().
    bool Open(const std::string& path, unsigned flags);

    // Writes all `size` bytes; throws FileException on a failed or short write
    // or when no file is open.
    void Write(const void* data, std::size_t size);

    // Reads up to `size` bytes; returns the count read (0 at the end).
    std::size_t Read(void* data, std::size_t size);

    // Flushes and closes; throws FileException if that fails. Closing a file
    // that is not open does nothing.
    void Close();

    bool IsOpen() const { return m_pFile != nullptr; }
    int LastError() const { return m_nLastError; }

private:
    void CloseQuietly() noexcept;

    std::FILE* m_pFile = nullptr;
    int m_nLastError = 0;
};

}  // namespace lumetra
