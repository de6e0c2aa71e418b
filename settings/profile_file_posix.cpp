#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <filesystem>

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
    bool Close() {
        const int fd = m_nFd;
        m_nFd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_nFd;
};

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Beside the target, so that the rename stays within one file system.
std::string TemporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> s_nCounter{0};
    return path + "." + std::to_string(::getpid()) + "." + std::to_string(s_nCounter++) + ".tmp";
}

// A new file of our own; the umask decides its permissions like any new file.
int CreateTemporary(const std::string& path, std::string& name) {
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        name = TemporaryNameFor(path);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The file a chain of symbolic links ends at; the path itself when it is
// no link (or a broken one, which the new file then replaces).
std::string RealTarget(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target.string();
}

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

bool ReplaceFileWhole(const std::string& link, std::string_view contents) {
    // A linked file (kept with the user's other dot files, say) is replaced
    // where it really lives, so the link stays.
    const std::string path = RealTarget(link);
    struct stat old {};
    const bool hadFile = ::stat(path.c_str(), &old) == 0;
    // Renaming would get round a file its owner made read-only.
    if (hadFile && ::access(path.c_str(), W_OK) != 0) return false;
    std::string temporary;
    const int fd = CreateTemporary(path, temporary);
    if (fd < 0) return false;
    CDescriptor file(fd);
    // A hand-made file keeps the permissions its owner gave it.
    bool ok = !hadFile || ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, contents) && ::fsync(fd) == 0;
    ok = file.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace lumetra
