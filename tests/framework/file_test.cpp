// CFile against the real file system.
#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

#include "framework/exceptions.h"
#include "framework/file.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

using test::CTempFolder;
using test::ReadAll;

TEST(File, CreateWriteCloseLeavesTheBytes) {
    CTempFolder dir;
    CFile file;
    ASSERT_TRUE(file.Open(dir.File("a.bin"), CFile::modeCreate | CFile::modeWrite));
    EXPECT_TRUE(file.IsOpen());
    file.Write("abc", 3);
    file.Write("", 0);
    file.Write("de", 2);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ReadAll(dir.File("a.bin")), "abcde");
}

TEST(File, CreateTruncatesAnOldFile) {
    CTempFolder dir;
    CFile file;
    ASSERT_TRUE(file.Open(dir.File("a.bin"), CFile::modeCreate | CFile::modeWrite));
    file.Write("long old text", 13);
    file.Close();
    ASSERT_TRUE(file.Open(dir.File("a.bin"), CFile::modeCreate | CFile::modeWrite));
    file.Write("new", 3);
    file.Close();
    EXPECT_EQ(ReadAll(dir.File("a.bin")), "new");
}

TEST(File, WriteWithoutCreateKeepsTheRest) {
    CTempFolder dir;
    CFile file;
    ASSERT_TRUE(file.Open(dir.File("a.bin"), CFile::modeCreate | CFile::modeWrite));
    file.Write("123456", 6);
    file.Close();
    ASSERT_TRUE(file.Open(dir.File("a.bin"), CFile::modeWrite));
    file.Write("ab", 2);
    file.Close();
    EXPECT_EQ(ReadAll(dir.File("a.bin")), "ab3456");
}

TEST(File, MissingFileFailsWithTheSystemError) {
    CTempFolder dir;
    CFile file;
    EXPECT_FALSE(file.Open(dir.File("missing.bin"), CFile::modeRead));
    EXPECT_EQ(file.LastError(), ENOENT);
    EXPECT_FALSE(file.Open(dir.File("missing.bin"), CFile::modeWrite));  // no create: must exist
    EXPECT_EQ(file.LastError(), ENOENT);
    EXPECT_FALSE(file.Open(dir.File("no/such/folder/x.bmp"), CFile::modeCreate | CFile::modeWrite));
    EXPECT_EQ(file.LastError(), ENOENT);
    EXPECT_FALSE(file.IsOpen());
}

TEST(File, ReadBack) {
    CTempFolder dir;
    CFile file;
    ASSERT_TRUE(file.Open(dir.File("a.bin"), CFile::modeCreate | CFile::modeReadWrite));
    file.Write("xyz", 3);
    file.Close();
    ASSERT_TRUE(file.Open(dir.File("a.bin"), CFile::modeRead));
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 3U);
    EXPECT_EQ(std::string(buffer, 3), "xyz");
    EXPECT_EQ(file.Read(buffer, sizeof(buffer)), 0U);
}

TEST(File, WritingAFileThatIsNotOpenThrows) {
    CFile file;
    EXPECT_THROW(file.Write("a", 1), FileException);
    file.Close();  // closing nothing is harmless
    EXPECT_FALSE(file.IsOpen());
}

TEST(File, MoveHandsOverTheOpenFile) {
    CTempFolder dir;
    CFile first;
    ASSERT_TRUE(first.Open(dir.File("m.bin"), CFile::modeCreate | CFile::modeWrite));
    CFile second(std::move(first));
    EXPECT_FALSE(first.IsOpen());  // NOLINT(bugprone-use-after-move,clang-analyzer-cplusplus.Move): moved-from is empty
    second.Write("q", 1);
    CFile third;
    third = std::move(second);
    third.Write("r", 1);
    third.Close();
    EXPECT_EQ(ReadAll(dir.File("m.bin")), "qr");
}

TEST(File, DestructorClosesAndFlushes) {
    CTempFolder dir;
    {
        CFile file;
        ASSERT_TRUE(file.Open(dir.File("d.bin"), CFile::modeCreate | CFile::modeWrite));
        file.Write("kept", 4);
    }
    EXPECT_EQ(ReadAll(dir.File("d.bin")), "kept");
}

#ifndef _WIN32
TEST(File, FullDeviceFailsOnWriteOrClose) {
    // A small write sits in the buffer; the failure shows when it is flushed.
    CFile file;
    ASSERT_TRUE(file.Open("/dev/full", CFile::modeWrite));
    file.Write("x", 1);
    try {
        file.Close();
        FAIL() << "closing /dev/full after a write must fail";
    } catch (const FileException& e) {
        EXPECT_EQ(e.Cause(), ENOSPC);
    }
    EXPECT_FALSE(file.IsOpen());
}
#endif

}  // namespace
}  // namespace lumetra
