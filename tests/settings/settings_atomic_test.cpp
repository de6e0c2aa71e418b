// The dialog and a running saver share the file: a reader must see the old
// file or the new one, never a mix, while another thread keeps saving.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "settings/profile_file.h"
#include "settings/settings_store.h"
#include "tests/settings/support.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

TEST(AtomicSave, ReadersNeverSeeAPartialFile) {
    test::CTempFolder folder;
    const std::string ini = folder.File(kSettingsFileName);
    // A large file makes a torn read all but certain if it were rewritten in place.
    std::string padding = "[Padding]\n";
    for (int i = 0; i < 2000; ++i) padding += "Line" + std::to_string(i) + "=" + std::string(40, 'p') + "\n";
    test::WriteAll(ini, padding);

    const SaverSettings first;
    const SaverSettings second = test::Edited();
    SaveSettings(first, ini);
    const std::string firstText = test::ReadAll(ini);
    SaveSettings(second, ini);
    const std::string secondText = test::ReadAll(ini);
    ASSERT_NE(firstText, secondText);
    ASSERT_GT(firstText.size(), 90000U);

    constexpr int kSaves = 100;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < kSaves; ++i) SaveSettings(i % 2 == 0 ? first : second, ini);
        done = true;
    });
    int reads = 0;
    int torn = 0;
    int unreadable = 0;
    int mixedLoads = 0;
    bool sawFirst = false;
    bool sawSecond = false;
    while (!done) {
        const std::optional<std::string> bytes = ReadWholeFile(ini);
        if (!bytes) {
            ++unreadable;
        } else if (*bytes == firstText) {
            sawFirst = true;
        } else if (*bytes == secondText) {
            sawSecond = true;
        } else {
            ++torn;
        }
        SaverSettings loaded;
        LoadSettings(loaded, ini);
        const std::vector<int> numbers = test::Numbers(loaded);
        if (numbers != test::Numbers(first) && numbers != test::Numbers(second)) ++mixedLoads;
        ++reads;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(unreadable, 0);
    EXPECT_EQ(mixedLoads, 0);
    EXPECT_GT(reads, 10);
    EXPECT_TRUE(sawFirst && sawSecond) << "the reader saw " << reads << " reads of one version only";
    EXPECT_EQ(test::ReadAll(ini), secondText);  // the last save, number kSaves - 1, is odd
    EXPECT_EQ(folder.Names(), std::vector<std::string>{kSettingsFileName});
}

}  // namespace
}  // namespace lumetra
