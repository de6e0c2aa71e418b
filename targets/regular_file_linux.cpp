#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "targets/regular_file.h"

namespace lumetra {
namespace {

std::error_code LastError() {
    return {errno, std::generic_category()};
}

class CDescriptor {
public:
    explicit CDescriptor(int fd) : m_fd(fd) {}
    ~CDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CDescriptor(const CDescriptor&) = delete;
    CDescriptor& operator=(const CDescriptor&) = delete;

    int Get() const { return m_fd; }

private:
    int m_fd;
};

}  // namespace

std::error_code ReadRegularFile(const std::filesystem::path& path, std::string& contents) {
    // Non-blocking: opening a FIFO must not wait for a writer.
    const CDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.Get() < 0) return LastError();
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0) return LastError();
    if (!S_ISREG(info.st_mode)) return std::make_error_code(std::errc::invalid_argument);
    contents.clear();
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(file.Get(), block, sizeof block);
        if (got == 0) return {};
        if (got < 0 && errno != EINTR) return LastError();
        if (got > 0) contents.append(block, static_cast<std::size_t>(got));
    }
}

}  // namespace lumetra
