#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "framework/descriptor_linux.h"
#include "settings/profile_file.h"

namespace lumetra {

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
