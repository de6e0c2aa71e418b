// LoadSettings and SaveSettings against real files: defaults, the keys that
// are never written, exact file contents, and files that cannot be written.
#include <gtest/gtest.h>

#include <climits>

#include "settings/private_profile.h"
#include "settings/settings_store.h"
#include "tests/settings/support.h"
#include "tests/support/temp_folder.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

namespace lumetra {
namespace {

using test::Edited;
using test::Numbers;

std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += kNativeNewLine;
    }
    return text;
}

class SettingsStore : public testing::Test {
protected:
    test::CTempFolder m_folder;
    std::string m_strIni = m_folder.File(kSettingsFileName);
};

TEST_F(SettingsStore, NoFileGivesTheBuiltInDefaults) {
    SaverSettings s;
    LoadSettings(s, m_strIni);
    EXPECT_EQ(Numbers(s), (std::vector<int>{3, 2000, 600, 1, 0, 0, 1, 0, 0, 1, 1, 0}));
    EXPECT_EQ(s.m_strTargetFile, ".\\lumetra.txt");
    EXPECT_TRUE(m_folder.Names().empty());  // loading never creates the file
}

TEST_F(SettingsStore, MissingKeysKeepTheCurrentValuesButTargetFileFallsBack) {
    test::WriteAll(m_strIni, "[Lumetra]\nShowRange=1\n");
    SaverSettings s = Edited();
    s.m_strTargetFile = "C:\\elsewhere.txt";
    LoadSettings(s, m_strIni);
    SaverSettings expected = Edited();  // ShowRange was 1 already
    EXPECT_EQ(Numbers(s), Numbers(expected));
    EXPECT_EQ(s.m_strTargetFile, ".\\lumetra.txt");
}

TEST_F(SettingsStore, EveryKeyIsReadIntoItsOwnMember) {
    test::WriteAll(m_strIni,
                   "[Lumetra]\nSaveFinalBMP=110\nLearnTargets=109\nColorStyle=104\nSmoothColor=108\n"
                   "ShowData=105\nShowRange=107\nDynamicRange=106\nPingTimeout=103\nPingPeriod=102\n"
                   "MapMotion=101\nTargetFile=D:\\maps\\mine.txt\nAllMonitors=112\nMapScale=7\n");
    SaverSettings s;
    LoadSettings(s, m_strIni);
    EXPECT_EQ(Numbers(s), (std::vector<int>{101, 102, 103, 104, 106, 107, 108, 109, 105, 110, 7, 112}));
    EXPECT_EQ(s.m_strTargetFile, "D:\\maps\\mine.txt");
}

TEST_F(SettingsStore, ValuesAreTakenAsTheyAre) {
    test::WriteAll(m_strIni,
                   "[Lumetra]\nMapMotion=7\nPingPeriod=2500\nPingTimeout=650abc\nColorStyle=\n"
                   "DynamicRange=on\nShowRange=-3\nSmoothColor=4294967297\nTargetFile=\n");
    SaverSettings s;
    s.m_nColorStyle = 0;
    LoadSettings(s, m_strIni);
    EXPECT_EQ(s.m_nMapMotion, 7);
    EXPECT_EQ(s.m_nPingPeriod, 2500);
    EXPECT_EQ(s.m_nPingTimeout, 650);
    EXPECT_EQ(s.m_nColorStyle, 0);    // an empty value keeps the current one
    EXPECT_EQ(s.m_bDynamicRange, 0);  // no digits
    EXPECT_EQ(s.m_bShowRange, -3);
    EXPECT_EQ(s.m_bSmoothColor, 1);    // wrapped
    EXPECT_EQ(s.m_strTargetFile, "");  // present, though empty
}

// The saver, lumetra-x11 and lumetra-map all load through here.
TEST_F(SettingsStore, HandEditsAreReadAsWindowsReadsThem) {
    test::WriteAll(m_strIni,
                   "[Lumetra]\nTargetFile=\"C:\\My Maps\\hosts.txt\"\nPingTimeout=0x2BC\nShowData='1'\n"
                   "[Lumetra]\nPingPeriod=5000\n");
    SaverSettings s;
    LoadSettings(s, m_strIni);
    EXPECT_EQ(s.m_strTargetFile, "C:\\My Maps\\hosts.txt");
    EXPECT_EQ(s.m_nPingTimeout, 700);
    EXPECT_EQ(s.m_bShowData, 1);
    EXPECT_EQ(s.m_nPingPeriod, 2000);  // a second section of the name is not read
}

TEST_F(SettingsStore, LongTargetFileIsCutTo1023Characters) {
    std::string path = "C:\\";
    while (path.size() < 2000) path += "folder\\";
    test::WriteAll(m_strIni, "[Lumetra]\nTargetFile=" + path + "\n");
    SaverSettings s;
    LoadSettings(s, m_strIni);
    EXPECT_EQ(s.m_strTargetFile, path.substr(0, 1023));
}

TEST_F(SettingsStore, OneSaveOfTheDefaultsWritesExactlyTheEightKeys) {
    SaveSettings(SaverSettings{}, m_strIni);
    EXPECT_EQ(test::ReadAll(m_strIni),
              Lines({"[Lumetra]", "MapMotion=3", "PingPeriod=2000", "PingTimeout=600", "DynamicRange=0", "ShowRange=0",
                     "SmoothColor=1", "ColorStyle=1", "LearnTargets=0"}));
    EXPECT_EQ(m_folder.Names(), std::vector<std::string>{kSettingsFileName});
}

// A map size and all monitors, once chosen, follow the eight keys.
TEST_F(SettingsStore, ChosenMapScaleAndAllMonitorsAreWrittenAfterTheEightKeysAndReadBack) {
    SaverSettings chosen;
    chosen.m_nMapScale = 2;
    chosen.m_bAllMonitors = 1;
    SaveSettings(chosen, m_strIni);
    EXPECT_EQ(test::ReadAll(m_strIni),
              Lines({"[Lumetra]", "MapMotion=3", "PingPeriod=2000", "PingTimeout=600", "DynamicRange=0", "ShowRange=0",
                     "SmoothColor=1", "ColorStyle=1", "LearnTargets=0", "MapScale=2", "AllMonitors=1"}));
    SaverSettings reread;
    LoadSettings(reread, m_strIni);
    EXPECT_TRUE(test::Same(reread, chosen));
}

TEST_F(SettingsStore, SaveReplacesPresentKeysInPlaceAndAppendsTheOthersInOrder) {
    test::WriteAll(m_strIni, "; mine\n[Lumetra]\nSmoothColor=0\nPingPeriod=5000\n\n[Other]\nMapMotion=9\n");
    SaveSettings(Edited(), m_strIni);
    EXPECT_EQ(test::ReadAll(m_strIni),
              "; mine\n[Lumetra]\nSmoothColor=0\nPingPeriod=30000\nMapMotion=1\nPingTimeout=5000\nDynamicRange=1\n"
              "ShowRange=1\nColorStyle=0\nLearnTargets=1\n\n[Other]\nMapMotion=9\n");
}

TEST_F(SettingsStore, HandSetKeysThatAreNeverWrittenSurviveSaves) {
    test::WriteAll(m_strIni, "[Lumetra]\nShowData=1\nSaveFinalBMP=0\nTargetFile=my.txt\n");
    SaverSettings s;
    LoadSettings(s, m_strIni);
    for (int i = 0; i < 3; ++i) {
        s.m_nMapMotion = i + 1;
        s.m_bShowData = 0;  // never written, whatever the member holds
        s.m_bSaveFinalBMP = 1;
        s.m_strTargetFile = "changed.txt";
        SaveSettings(s, m_strIni);
    }
    SaverSettings reread;
    LoadSettings(reread, m_strIni);
    EXPECT_EQ(reread.m_bShowData, 1);
    EXPECT_EQ(reread.m_bSaveFinalBMP, 0);
    EXPECT_EQ(reread.m_strTargetFile, "my.txt");
    EXPECT_EQ(reread.m_nMapMotion, 3);
    const CProfileText file(test::ReadAll(m_strIni));
    EXPECT_EQ(file.Find("Lumetra", "ShowData"), "1");
}

TEST_F(SettingsStore, NegativeValuesAreWrittenWithTheirSign) {
    SaverSettings s;
    s.m_nPingPeriod = -2000;
    s.m_nMapMotion = INT_MIN;
    s.m_bLearnTargets = -1;
    SaveSettings(s, m_strIni);
    const CProfileText file(test::ReadAll(m_strIni));
    EXPECT_EQ(file.Find("Lumetra", "PingPeriod"), "-2000");
    EXPECT_EQ(file.Find("Lumetra", "MapMotion"), "-2147483648");
    EXPECT_EQ(file.Find("Lumetra", "LearnTargets"), "-1");
    SaverSettings reread;
    LoadSettings(reread, m_strIni);
    EXPECT_EQ(Numbers(reread), Numbers(s));
}

TEST_F(SettingsStore, LoadingTwiceChangesNothing) {
    test::WriteAll(m_strIni, "[Lumetra]\nMapMotion=7\nPingTimeout=\nShowData=x\nTargetFile=a.txt\n");
    SaverSettings once;
    once.m_nPingTimeout = 900;
    LoadSettings(once, m_strIni);
    SaverSettings twice = once;
    LoadSettings(twice, m_strIni);
    EXPECT_TRUE(test::Same(twice, once));
    EXPECT_EQ(twice.m_nPingTimeout, 900);
    EXPECT_EQ(twice.m_bShowData, 0);
}

TEST_F(SettingsStore, SavingTheSameValuesAgainLeavesTheFileAsItIs) {
    SaveSettings(Edited(), m_strIni);
    const std::string first = test::ReadAll(m_strIni);
    SaveSettings(Edited(), m_strIni);
    EXPECT_EQ(test::ReadAll(m_strIni), first);
    SaverSettings reread;
    LoadSettings(reread, m_strIni);
    EXPECT_EQ(Numbers(reread), Numbers(Edited()));
}

// A save that cannot be done is silent (no exception, no crash) and leaves
// the folder as it was: no new file, no temporary file.
void ExpectQuietSaveFailure(const std::string& ini, const test::CTempFolder& folder) {
    const std::vector<std::string> before = folder.Names();
    EXPECT_NO_THROW(SaveSettings(Edited(), ini));
    EXPECT_EQ(folder.Names(), before);
}

// A file that cannot be read acts like a missing one.
void ExpectLoadKeepsTheMembers(const std::string& ini) {
    SaverSettings s = Edited();
    LoadSettings(s, ini);
    EXPECT_EQ(Numbers(s), Numbers(Edited()));
    EXPECT_EQ(s.m_strTargetFile, ".\\lumetra.txt");
}

TEST_F(SettingsStore, PathThatIsAFolderFailsQuietly) {
    std::filesystem::create_directory(m_strIni);
    ExpectQuietSaveFailure(m_strIni, m_folder);
    ExpectLoadKeepsTheMembers(m_strIni);
    EXPECT_TRUE(std::filesystem::is_directory(m_strIni));
    EXPECT_TRUE(std::filesystem::is_empty(m_strIni));
}

TEST_F(SettingsStore, FolderThatIsAFileFailsQuietly) {
    const std::string plain = m_folder.File("plain");
    test::WriteAll(plain, "not a folder");
    ExpectQuietSaveFailure(plain + "/" + kSettingsFileName, m_folder);
    ExpectLoadKeepsTheMembers(plain + "/" + kSettingsFileName);
    EXPECT_EQ(test::ReadAll(plain), "not a folder");
}

TEST_F(SettingsStore, MissingFolderFailsQuietly) {
    ExpectQuietSaveFailure(m_folder.File("absent") + "/" + kSettingsFileName, m_folder);
    ExpectLoadKeepsTheMembers(m_folder.File("absent") + "/" + kSettingsFileName);
}

TEST_F(SettingsStore, ReadOnlyFileIsLeftAlone) {
#ifndef _WIN32
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file; the other failure tests cover this";
#endif
    const std::string old = "[Lumetra]\nMapMotion=2\n";
    test::WriteAll(m_strIni, old);
    namespace fs = std::filesystem;
    const fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(m_strIni, writable, fs::perm_options::remove);
    ExpectQuietSaveFailure(m_strIni, m_folder);
    fs::permissions(m_strIni, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(test::ReadAll(m_strIni), old);
}

#ifndef _WIN32
TEST_F(SettingsStore, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write into a read-only folder; the other failure tests cover this";
    const std::string old = "[Lumetra]\nMapMotion=2\n";
    test::WriteAll(m_strIni, old);
    ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0555), 0);
    ExpectQuietSaveFailure(m_strIni, m_folder);
    SaverSettings s = Edited();
    LoadSettings(s, m_strIni);
    EXPECT_EQ(s.m_nMapMotion, 2);  // the old file, still readable
    EXPECT_EQ(s.m_nPingPeriod, Edited().m_nPingPeriod);
    ASSERT_EQ(::chmod(m_folder.Path().c_str(), 0755), 0);
    EXPECT_EQ(test::ReadAll(m_strIni), old);
}

// The file-size limit makes the write of the new text fail halfway, a real
// write error of the kind a full disk gives.
TEST_F(SettingsStore, WriteFailingHalfwayKeepsTheOldFileWhole) {
    const std::string old = "; " + std::string(3000, 'c') + "\n[Lumetra]\nMapMotion=2\n";
    test::WriteAll(m_strIni, old);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 2048;  // shorter than the old file, so the new one cannot be written
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    SaveSettings(Edited(), m_strIni);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    static_cast<void>(std::signal(SIGXFSZ, previousHandler));
    EXPECT_EQ(test::ReadAll(m_strIni), old);
    EXPECT_EQ(m_folder.Names(), std::vector<std::string>{kSettingsFileName});
    SaveSettings(Edited(), m_strIni);  // without the limit the same save succeeds
    SaverSettings reread;
    LoadSettings(reread, m_strIni);
    EXPECT_EQ(Numbers(reread), Numbers(Edited()));
}

TEST_F(SettingsStore, SaveThroughALinkKeepsTheLink) {
    const std::string real = m_folder.File("real.ini");
    test::WriteAll(real, "[Lumetra]\nShowData=1\n");
    std::filesystem::create_symlink("real.ini", m_strIni);
    SaveSettings(Edited(), m_strIni);
    ASSERT_TRUE(std::filesystem::is_symlink(m_strIni));
    SaverSettings reread;
    LoadSettings(reread, real);
    EXPECT_EQ(Numbers(reread)[0], Edited().m_nMapMotion);
    EXPECT_EQ(reread.m_bShowData, 1);
    EXPECT_EQ(m_folder.Names().size(), 2U);  // the link and its file, nothing else
}

TEST_F(SettingsStore, SaveKeepsTheFilesPermissions) {
    test::WriteAll(m_strIni, "[Lumetra]\n");
    ASSERT_EQ(::chmod(m_strIni.c_str(), 0640), 0);
    SaveSettings(Edited(), m_strIni);
    struct stat info {};
    ASSERT_EQ(::stat(m_strIni.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
}
#endif

}  // namespace
}  // namespace lumetra
