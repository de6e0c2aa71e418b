// Where the settings file lives: the user's own configuration folder, never
// a system folder, and the overloads without a path use it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "settings/settings_store.h"
#include "tests/settings/support.h"
#include "tests/support/temp_folder.h"

namespace lumetra {
namespace {

// Round trip through the overloads; the file they use is restored after.
void ExpectOverloadsUseTheSettingsFile() {
    const std::filesystem::path path = SettingsFilePath();
    const bool existed = std::filesystem::exists(path);
    const std::string old = existed ? test::ReadAll(path) : std::string();

    SaveSettings(test::Edited());
    SaverSettings reread;
    LoadSettings(reread);
    EXPECT_EQ(test::Numbers(reread), test::Numbers(test::Edited()));
    EXPECT_NE(test::ReadAll(path).find("PingPeriod=30000"), std::string::npos);

    if (existed) {
        test::WriteAll(path, old);
    } else {
        std::filesystem::remove(path);
    }
}

#ifdef _WIN32

TEST(SettingsFilePath, LandsInTheUsersApplicationDataFolder) {
    const std::filesystem::path path = SettingsFilePath();
    EXPECT_EQ(path.filename().string(), kSettingsFileName);
    EXPECT_TRUE(path.is_absolute()) << path;
    EXPECT_TRUE(std::filesystem::is_directory(path.parent_path())) << path;
    if (const char* appData = std::getenv("APPDATA")) {
        EXPECT_TRUE(std::filesystem::equivalent(path.parent_path(), appData)) << path << " vs " << appData;
    }
    if (const char* windows = std::getenv("WINDIR")) {
        const std::string folder = std::filesystem::path(windows).string();
        EXPECT_NE(path.parent_path().string().substr(0, folder.size()), folder);
    }
}

TEST(SettingsFilePath, OverloadsUseIt) {
    ExpectOverloadsUseTheSettingsFile();
}

#else

// Sets or clears one environment variable for the scope, then restores it.
class CScopedVariable {
public:
    CScopedVariable(const char* name, const std::optional<std::string>& value) : m_strName(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        Apply(value);
    }
    ~CScopedVariable() { Apply(m_old); }
    CScopedVariable(const CScopedVariable&) = delete;
    CScopedVariable& operator=(const CScopedVariable&) = delete;

private:
    void Apply(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_strName.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(m_strName.c_str());
        }
    }

    std::string m_strName;
    std::optional<std::string> m_old;
};

TEST(SettingsFilePath, XdgConfigHomeIsUsedAndCreatedPrivate) {
    const test::CTempFolder folder;
    const std::filesystem::path config = folder.Path() / "cfg" / "nested";
    const CScopedVariable xdg("XDG_CONFIG_HOME", config.string());
    EXPECT_EQ(SettingsFilePath(), (config / kSettingsFileName).string());
    ASSERT_TRUE(std::filesystem::is_directory(config));
    EXPECT_EQ(std::filesystem::status(config).permissions(), std::filesystem::perms::owner_all);
}

TEST(SettingsFilePath, HomeConfigWhenXdgIsUnsetEmptyOrRelative) {
    const test::CTempFolder folder;
    const CScopedVariable home("HOME", folder.Path().string());
    const std::string expected = (folder.Path() / ".config" / kSettingsFileName).string();
    for (const std::optional<std::string>& value : {std::optional<std::string>(), std::optional<std::string>(""),
                                                    std::optional<std::string>("relative-config")}) {
        const CScopedVariable xdg("XDG_CONFIG_HOME", value);
        EXPECT_EQ(SettingsFilePath(), expected) << value.value_or("(unset)");
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / ".config"));
    EXPECT_FALSE(std::filesystem::exists("relative-config"));
}

TEST(SettingsFilePath, OverloadsUseIt) {
    const test::CTempFolder folder;
    const CScopedVariable xdg("XDG_CONFIG_HOME", folder.Path().string());
    ExpectOverloadsUseTheSettingsFile();
    SaveSettings(SaverSettings{});
    EXPECT_TRUE(std::filesystem::exists(folder.Path() / kSettingsFileName));
}

#endif

}  // namespace
}  // namespace lumetra
