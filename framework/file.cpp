#include "framework/file.h"

#include <cerrno>
#include <utility>

#include "framework/exceptions.h"

namespace lumetra {
namespace {

// The stdio mode for our flags; null for a combination that makes no sense.
const char* StdioMode(unsigned flags) {
    const bool create = (flags & CFile::modeCreate) != 0;
    if ((flags & CFile::modeReadWrite) != 0) return create ? "w+b" : "r+b";
    if ((flags & CFile::modeWrite) != 0) return create ? "wb" : "r+b";  // r+b: existing file, not truncated
    return create ? "w+b" : "rb";
}

}  // namespace

CFile::~CFile() {
    CloseQuietly();
}

CFile::CFile(CFile&& other) noexcept
    : m_pFile(std::exchange(other.m_pFile, nullptr)), m_nLastError(other.m_nLastError) {}

CFile& CFile::operator=(CFile&& other) noexcept {
    if (this != &other) {
        CloseQuietly();
        m_pFile = std::exchange(other.m_pFile, nullptr);
        m_nLastError = other.m_nLastError;
    }
    return *this;
}

bool CFile::Open(const std::string& path, unsigned flags) {
    CloseQuietly();
    errno = 0;
    m_pFile = std::fopen(path.c_str(), StdioMode(flags));  // NOLINT(cppcoreguidelines-owning-memory)
    m_nLastError = m_pFile == nullptr ? errno : 0;
    return m_pFile != nullptr;
}

void CFile::Write(const void* data, std::size_t size) {
    if (m_pFile == nullptr) throw FileException("write to a file that is not open", EBADF);
    if (size == 0) return;
    errno = 0;
    const std::size_t written = std::fwrite(data, 1, size, m_pFile);
    if (written != size) {
        m_nLastError = errno != 0 ? errno : EIO;
        throw FileException("short write", m_nLastError);
    }
}

std::size_t CFile::Read(void* data, std::size_t size) {
    if (m_pFile == nullptr) throw FileException("read from a file that is not open", EBADF);
    errno = 0;
    const std::size_t got = std::fread(data, 1, size, m_pFile);
    if (got != size && std::ferror(m_pFile) != 0) {
        m_nLastError = errno != 0 ? errno : EIO;
        throw FileException("read failed", m_nLastError);
    }
    return got;
}

void CFile::Close() {
    if (m_pFile == nullptr) return;
    errno = 0;
    // fclose releases the stream even when its final flush fails.
    const int result = std::fclose(std::exchange(m_pFile, nullptr));  // NOLINT(cppcoreguidelines-owning-memory)
    if (result != 0) {
        m_nLastError = errno != 0 ? errno : EIO;
        throw FileException("close failed", m_nLastError);
    }
}

void CFile::CloseQuietly() noexcept {
    if (m_pFile != nullptr) {
        (void)std::fclose(std::exchange(m_pFile, nullptr));  // NOLINT(cppcoreguidelines-owning-memory)
    }
}

}  // namespace lumetra
