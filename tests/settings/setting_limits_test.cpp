// Numbers of the settings file that would not do what they say, taken into
// the dialog's range with a line that says so; the ones that work stay.
#include "settings/setting_limits.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"
#include "tests/settings/support.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

struct LimitCase {
    const char* line;
    int SaverSettings::*member;
    int used;
    const char* said;  // "" when the value stays
};

TEST(SettingLimits, NumbersThatDoNotWorkAreTakenIntoTheDialogsRange) {
    const LimitCase cases[] = {
        {"PingTimeout=0", &SaverSettings::m_nPingTimeout, 100, "PingTimeout=0 in 'F' is below 1; using 100 instead"},
        {"PingTimeout=65536", &SaverSettings::m_nPingTimeout, 5000,
         "PingTimeout=65536 in 'F' is above 65535; using 5000 instead"},
        {"PingTimeout=65535", &SaverSettings::m_nPingTimeout, 65535, ""},
        {"PingPeriod=0", &SaverSettings::m_nPingPeriod, 1000, "PingPeriod=0 in 'F' is below 1; using 1000 instead"},
        {"PingPeriod=1", &SaverSettings::m_nPingPeriod, 1, ""},
        {"MapMotion=0", &SaverSettings::m_nMapMotion, 1, "MapMotion=0 in 'F' is below 1; using 1 instead"},
        {"MapMotion=7", &SaverSettings::m_nMapMotion, 3, "MapMotion=7 in 'F' is above 3; using 3 instead"},
        {"MapMotion=-2147483648", &SaverSettings::m_nMapMotion, 1,
         "MapMotion=-2147483648 in 'F' is below 1; using 1 instead"},
    };
    const test::CTempFolder folder;
    for (const LimitCase& c : cases) {
        const std::string ini = folder.Write(kSettingsFileName, std::string("[Lumetra]\n") + c.line + "\n");
        SaverSettings settings;
        LoadSettings(settings, ini);
        const std::vector<ClampedSetting> clamped = ClampToUsable(settings);
        EXPECT_EQ(settings.*c.member, c.used) << c.line;
        ASSERT_EQ(clamped.size(), *c.said ? 1U : 0U) << c.line;
        if (*c.said) {
            EXPECT_EQ(ClampedInFileMessage(clamped[0], "F"), c.said);
        }
        EXPECT_TRUE(ClampToUsable(settings).empty()) << c.line << ": clamping twice changed more";
    }
}

}  // namespace
}  // namespace lumetra
