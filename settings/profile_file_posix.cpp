#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "settings/profile_file.h"

namespace lumetra {
namespace {

// Owns one open descriptor.
class CDescriptor {
public:
    explicit CDescriptor(int fd) : m_nFd(fd) {}
    ~CDescriptor() {
        if (m_nFd >= 0) ::close(m_nFd);
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;

    int Get() const { return m_nFd; }

private:
    int m_nFd;
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::string();
        return std::nullopt;
    }
    const CDescriptor file(fd);
    std::string text;
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got == 0) return text;
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;  // a folder gives EISDIR here
        }
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

}  // namespace lumetra
