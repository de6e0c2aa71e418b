#include "framework/native_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumetra {
namespace {

TEST(NativePath, BackslashesSeparateFoldersOnEveryPlatform) {
    const std::filesystem::path path = NativePath(".\\data\\lumetra.txt");
    EXPECT_EQ(path.filename(), "lumetra.txt");
    EXPECT_EQ(path.parent_path().filename(), "data");
    EXPECT_EQ(path.parent_path().parent_path(), ".");
}

TEST(NativePath, LeavesForwardSlashesAndPlainNamesAlone) {
    EXPECT_EQ(NativePath("a/b/c.txt"), std::filesystem::path("a/b/c.txt"));
    EXPECT_EQ(NativePath("lumetra.txt"), std::filesystem::path("lumetra.txt"));
    EXPECT_EQ(NativePath(""), std::filesystem::path());
}

TEST(NativePath, WritesThePathTheWayTheHostSpellsIt) {
#ifdef _WIN32
    EXPECT_EQ(NativePath(".\\lumetra.txt").native(), L".\\lumetra.txt");
    EXPECT_EQ(NativePath("C:\\saver\\a.txt").native(), L"C:\\saver\\a.txt");
#else
    EXPECT_EQ(NativePath(".\\lumetra.txt").native(), "./lumetra.txt");
    EXPECT_EQ(NativePath("\\\\server\\x").native(), "//server/x");
#endif
}

}  // namespace
}  // namespace lumetra
