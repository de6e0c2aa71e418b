// Where the saver finds its target file and leaves its snapshot, with real
// folders, and the snapshot's replacement of an earlier one.
#include "view/saver_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/dib_test_access.h"
#include "tests/support/shell_text.h"
#include "tests/support/target_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/view/case_name.h"
#include "tests/view/frame_support.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using test::CTempFolder;

constexpr std::size_t kFrameFileSize = 479934;  // 54 header bytes, 310 rows of 1548

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Sep() {
    return std::string(1, static_cast<char>(fs::path::preferred_separator));
}

// ---- the target file ------------------------------------------------------

struct LocateCase {
    const char* name;
    bool inCurrent;      // "lumetra.txt" in the current folder
    bool besideProgram;  // and in the program's folder
    const char* targetFile;
    const char* found;  // "current", "program" or "as given"
};

class TargetFilePlace : public ::testing::TestWithParam<LocateCase> {
protected:
    void SetUp() override {
        fs::create_directory(m_root.Path() / "cwd");
        fs::create_directory(m_root.Path() / "bin");
    }
    std::string Current() const { return (m_root.Path() / "cwd").string(); }
    std::string Program() const { return (m_root.Path() / "bin").string(); }
    CTempFolder m_root;
};

TEST_P(TargetFilePlace, CurrentFolderFirstThenBesideTheProgram) {
    const LocateCase& c = GetParam();
    if (c.inCurrent) m_root.Write("cwd/lumetra.txt", "1\tx\ty\tz\t*\t1,1\tUSA\n");
    if (c.besideProgram) m_root.Write("bin/lumetra.txt", "1\tx\ty\tz\t*\t1,1\tUSA\n");
    const std::string found = LocateTargetFile(c.targetFile, Current(), Program());
    const std::string expected = std::string(c.found) == "current"   ? Current() + Sep() + c.targetFile
                                 : std::string(c.found) == "program" ? Program() + Sep() + c.targetFile
                                                                     : std::string(c.targetFile);
    EXPECT_EQ(found, expected);
}

const LocateCase kPlaces[] = {
    {"InTheCurrentFolder", true, false, "lumetra.txt", "current"},
    {"InBothTheCurrentFolderWins", true, true, "lumetra.txt", "current"},
    {"OnlyBesideTheProgram", false, true, "lumetra.txt", "program"},
    {"BackslashedRelativePathBesideTheProgram", false, true, ".\\lumetra.txt", "program"},
    {"NowhereKeepsTheCurrentFolder", false, false, "lumetra.txt", "current"},
    {"InASubfolderOfNeither", false, false, "sub\\lumetra.txt", "current"},
};

INSTANTIATE_TEST_SUITE_P(Folders, TargetFilePlace, ::testing::ValuesIn(kPlaces), test::CaseName());

TEST(TargetFilePlaceRules, AnAbsolutePathIsTakenAsGiven) {
    const CTempFolder root;
    root.Write("lumetra.txt", "");
    const std::string absent = (root.Path() / "missing" / "lumetra.txt").string();
    EXPECT_EQ(LocateTargetFile(absent, "", root.Path().string()), absent);
}

// ---- the snapshot's places ------------------------------------------------

TEST(SnapshotPlaces, EachFolderOnceInOrder) {
    const std::string s = Sep();
    EXPECT_EQ(SnapshotPaths({"", ""}), std::vector<std::string>{kSnapshotFileName});
    EXPECT_EQ(SnapshotPaths({"cwd", "conf" + s}),
              (std::vector<std::string>{"cwd" + s + kSnapshotFileName, "conf" + s + kSnapshotFileName}));
    EXPECT_EQ(SnapshotPaths({"a", "a"}), std::vector<std::string>{"a" + s + kSnapshotFileName});
}

// ---- writing the snapshot -------------------------------------------------

class Snapshot : public ::testing::Test {
protected:
    Snapshot() {
        TargetList targets;
        AddTarget(targets, TargetSketch{.x = 100, .y = 100, .rtt = 20});
        SaverSettings settings;
        SharedRenderer().RenderFrame(m_frame.dib, targets, kRegionUsa, settings, targets.front().get());
    }
    std::string In(const std::string& folder) const { return (m_root.Path() / folder / kSnapshotFileName).string(); }

    CTempFolder m_root;
    CTestFrame m_frame;
};

TEST_F(Snapshot, ReplacesAnEarlierSnapshotWhole) {
    const std::string path = m_root.Write(kSnapshotFileName, std::string(600000, 'x'));
    ASSERT_EQ(WriteSnapshot(m_frame.dib, {path}), path);
    EXPECT_EQ(test::ReadAll(path), m_frame.dib.BmpFileBytes()) << "the longer old file was not replaced whole";
    EXPECT_EQ(NamesIn(m_root.Path()), std::vector<std::string>{kSnapshotFileName});
}

TEST_F(Snapshot, GoesToTheNextFolderWhenAFolderTakesNone) {
    // A regular file where the folder should be: nothing can be made in it.
    m_root.Write("cwd", "not a folder");
    fs::create_directory(m_root.Path() / "settings");
    EXPECT_EQ(WriteSnapshot(m_frame.dib, {In("cwd"), In("settings")}), In("settings"));
    EXPECT_EQ(test::ReadAll(In("settings")).size(), kFrameFileSize);
    EXPECT_EQ(NamesIn(m_root.Path() / "settings"), std::vector<std::string>{kSnapshotFileName});
}

TEST_F(Snapshot, NoFolderTakesItAndNothingIsLeft) {
    m_root.Write("cwd", "not a folder");
    EXPECT_EQ(WriteSnapshot(m_frame.dib, {In("cwd"), In("missing")}), std::nullopt);
    EXPECT_EQ(NamesIn(m_root.Path()), std::vector<std::string>{"cwd"});
    EXPECT_EQ(WriteSnapshot(m_frame.dib, {}), std::nullopt);
}

TEST_F(Snapshot, AFrameWithoutPixelsIsNeverWritten) {
    const std::string path = m_root.Write(kSnapshotFileName, "earlier snapshot");
    CDib empty;
    EXPECT_EQ(WriteSnapshot(empty, {path}), std::nullopt);
    // Pixel storage that could not be made (a failed DIB section) reads as none.
    CTestFrame noPixels;
    CDibTestAccess::LoseSection(noPixels.dib);
    EXPECT_EQ(WriteSnapshot(noPixels.dib, {path}), std::nullopt);
    EXPECT_EQ(test::ReadAll(path), "earlier snapshot");
}

}  // namespace
}  // namespace lumetra
