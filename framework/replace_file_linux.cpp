#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <utility>

#include "framework/descriptor_linux.h"
#include "framework/replace_file.h"
#include "framework/temporary_files.h"

namespace lumetra {

namespace {

namespace fs = std::filesystem;

// The kernel's own limit on a chain of links.
constexpr int kLongestLinkChain = 40;
// A name taken already (by chance, or planted by someone who guessed it).
constexpr int kNameAttempts = 16;

std::error_code LastError() {
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

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

// The regular file that a chain of links leads to, when each link on the
// way and the file belong to this user; nothing otherwise (someone else's
// link or file, a broken link, a link to a folder, a loop).
std::optional<std::string> OwnLinkTarget(const std::string& path) {
    fs::path current = path;
    for (int hop = 0; hop <= kLongestLinkChain; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || info.st_uid != ::geteuid()) return std::nullopt;
        if (S_ISREG(info.st_mode)) return current.string();
        if (!S_ISLNK(info.st_mode)) return std::nullopt;
        std::error_code error;
        const fs::path target = fs::read_symlink(current, error);
        if (error) return std::nullopt;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return std::nullopt;
}

std::string Destination(const std::string& path, LinkRule links) {
    struct stat info {};
    if (links == LinkRule::kReplaceLink || ::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    return OwnLinkTarget(path).value_or(path);
}

// A new file of our own that did not exist before: O_EXCL opens no link or
// file that someone put there. The umask decides its permissions.
int CreateTemporary(const std::string& destination, std::string& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = TemporaryNameBeside(destination, UnpredictableNumber());
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The rename is on the disk too once the folder is flushed; a failure here
// leaves a whole file, old or new, so it is not reported.
void FlushFolderOf(const std::string& path) {
    const fs::path folder = fs::path(path).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    static_cast<void>(::fsync(fd));
    ::close(fd);
}

}  // namespace

std::uint64_t UnpredictableNumber() {
    std::uint64_t number = 0;
    if (::getrandom(&number, sizeof number, 0) == static_cast<ssize_t>(sizeof number)) return number;
    // No random source: a name that others may guess costs at most a retry,
    // since the file is created exclusively.
    const auto ticks = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return ticks ^ (static_cast<std::uint64_t>(::getpid()) << 40);
}

void RemoveFileNow(const char* path) noexcept {
    ::unlink(path);
}

std::error_code ReplaceFileWhole(const std::string& path, std::string_view contents, LinkRule links) {
    const std::string destination = Destination(path, links);
    struct stat old {};
    const bool hadFile = ::lstat(destination.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // Renaming would get round a file its owner made read-only.
    if (hadFile && ::access(destination.c_str(), W_OK) != 0) return LastError();
    std::string temporary;
    CDescriptor file(CreateTemporary(destination, temporary));
    if (file.Get() < 0) return LastError();
    const CRecordedTemporary recorded(temporary);
    // A hand-made file keeps the permissions its owner gave it (but never a
    // set-id bit, which the new file's owner did not give).
    bool ok = !hadFile || ::fchmod(file.Get(), old.st_mode & 0777) == 0;
    ok = ok && WriteAll(file.Get(), contents) && ::fsync(file.Get()) == 0;
    ok = file.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), destination.c_str()) == 0;
    if (!ok) {
        const std::error_code error = LastError();
        ::unlink(temporary.c_str());
        return error;
    }
    FlushFolderOf(destination);
    return {};
}

std::error_code CheckReplaceable(const std::string& path) {
    std::string temporary;
    const CDescriptor file(CreateTemporary(path, temporary));
    if (file.Get() < 0) return LastError();
    const CRecordedTemporary recorded(temporary);
    ::unlink(temporary.c_str());
    return {};
}

bool KeepsOthersOut(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    const bool othersMayWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return !othersMayWrite || (info.st_mode & S_ISVTX) != 0;
}

}  // namespace lumetra
