// ReplaceFileWhole against links that someone else laid in its way, against
// a run interrupted during the write, and the folders the snapshot trusts.
// Links of another user need root (lchown); as another user they skip.
#include "framework/replace_file.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "framework/stop_cleanup_linux.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

struct LinkCase {
    const char* what;
    LinkRule rule;
    bool linkIsOthers;    // the link belongs to nobody
    bool targetIsOthers;  // the file it points to belongs to nobody
    bool followed;        // the target was replaced and the link kept
};

TEST(ReplaceFileWhole, FollowsALinkOnlyWhenItAndItsTargetAreTheUsersOwn) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
    const LinkCase cases[] = {
        {"own link, own file, following own links", LinkRule::kFollowOwnLinks, false, false, true},
        {"own link, own file, replacing links", LinkRule::kReplaceLink, false, false, false},
        {"nobody's link", LinkRule::kFollowOwnLinks, true, false, false},
        {"own link to nobody's file", LinkRule::kFollowOwnLinks, false, true, false},
    };
    for (const LinkCase& c : cases) {
        const test::CTempFolder folder;
        const std::string target = folder.Write("target", "the user's own bytes");
        const std::string link = folder.File("lumetra.bmp");
        fs::create_symlink(target, link);
        const uid_t targetOwner = c.targetIsOthers ? kNobody : ::geteuid();
        const uid_t linkOwner = c.linkIsOthers ? kNobody : ::geteuid();
        ASSERT_EQ(::chown(target.c_str(), targetOwner, targetOwner), 0);
        ASSERT_EQ(::lchown(link.c_str(), linkOwner, linkOwner), 0);

        ASSERT_FALSE(ReplaceFileWhole(link, "new contents", c.rule)) << c.what;
        EXPECT_EQ(fs::is_symlink(link), c.followed) << c.what;
        EXPECT_EQ(test::ReadAll(target), c.followed ? "new contents" : "the user's own bytes") << c.what;
        EXPECT_EQ(test::ReadAll(link), "new contents") << c.what;
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{"lumetra.bmp", "target"})) << c.what;
    }
}

TEST(ReplaceFileWhole, AStopSignalDuringTheWriteRemovesTheTemporaryFile) {
    const test::CTempFolder folder;
    const std::string path = folder.File("frame.bmp");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RemoveTemporaryFilesOnStopSignals();
        const std::string large(16 << 20, 'x');  // long enough to be caught while it is written
        for (;;) static_cast<void>(ReplaceFileWhole(path, large));
    }
    const auto temporaryExists = [&] {
        for (const std::string& name : folder.Names())
            if (name.ends_with(".tmp")) return true;
        return false;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!temporaryExists() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    const bool caughtWriting = temporaryExists();
    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(caughtWriting) << "the child never wrote";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "it must still end as SIGTERM asks";
    EXPECT_FALSE(temporaryExists()) << "a temporary file was left behind";
}

TEST(KeepsOthersOut, OnlyAFolderOthersCannotWriteOrAStickyOne) {
    const struct {
        mode_t mode;
        bool closed;
    } cases[] = {{0755, true}, {0700, true}, {0775, false}, {0777, false}, {0757, false}, {01777, true}};
    const test::CTempFolder root;
    for (const auto& c : cases) {
        const fs::path folder = root.Path() / std::to_string(c.mode);
        fs::create_directory(folder);
        ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
        EXPECT_EQ(KeepsOthersOut(folder.string()), c.closed) << std::oct << c.mode;
    }
    EXPECT_FALSE(KeepsOthersOut((root.Path() / "missing").string()));
}

}  // namespace
}  // namespace lumetra
