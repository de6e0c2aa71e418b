// The table of options against the members it must cover, and the load and
// save rules that every row follows, one case per row.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "settings/private_profile.h"
#include "settings/settings_store.h"
#include "tests/settings/support.h"
#include "tests/support/temp_folder.h"

namespace lumetra {

// Failures name the row by its key, not by its bytes.
void PrintTo(const SaverOption& option, std::ostream* out) {
    *out << option.key;
}

namespace {

// Sets the row's member from the text the file would hold for it.
void SetFromText(SaverSettings& settings, const IntField& field, const std::string& text) {
    settings.*field.member = std::stoi(text);
}
void SetFromText(SaverSettings& settings, const TextField& field, const std::string& text) {
    settings.*field.member = text;
}
void SetFromText(SaverSettings& settings, const SaverOption& option, const std::string& text) {
    std::visit([&](const auto& field) { SetFromText(settings, field, text); }, option.field);
}

TEST(SaverOptions, EveryMemberHasExactlyOneRow) {
    SaverSettings s;
    std::vector<int> markers;
    int marker = 100;
    for (const SaverOption& option : kSaverOptions) {
        SetFromText(s, option, std::to_string(marker));
        if (std::holds_alternative<IntField>(option.field)) markers.push_back(marker);
        ++marker;
    }
    // A member without a row keeps its default; a member with two rows loses a marker.
    std::vector<int> numbers = test::Numbers(s);
    std::ranges::sort(numbers);
    EXPECT_EQ(numbers, markers);
    EXPECT_NE(s.m_strTargetFile, SaverSettings().m_strTargetFile);
}

// Keys match case-insensitively in the file, so two rows must differ by more than case.
TEST(SaverOptions, KeysAreDistinctAsTheFileMatchesThem) {
    CProfileText file;
    for (std::size_t i = 0; i < kSaverOptions.size(); ++i) {
        ASSERT_TRUE(file.Set(kSettingsSection, kSaverOptions[i].key, std::to_string(i))) << kSaverOptions[i].key;
    }
    for (std::size_t i = 0; i < kSaverOptions.size(); ++i) {
        EXPECT_EQ(file.Find(kSettingsSection, kSaverOptions[i].key), std::to_string(i)) << kSaverOptions[i].key;
    }
}

class EachOption : public testing::TestWithParam<SaverOption> {
protected:
    test::CTempFolder m_folder;
    std::string m_strIni = m_folder.File(kSettingsFileName);
};

TEST_P(EachOption, AloneInTheFileChangesOnlyItsMember) {
    SaverSettings expected;
    SetFromText(expected, GetParam(), "5000");
    test::WriteAll(m_strIni, "[Lumetra]\n" + std::string(GetParam().key) + "=5000\n");
    SaverSettings loaded;
    LoadSettings(loaded, m_strIni);
    EXPECT_TRUE(test::Same(loaded, expected));
}

// A save replaces a hand-set value of a saved row and never touches the others.
TEST_P(EachOption, SaveWritesItOnlyWhenItsRowSaysSo) {
    const std::string key(GetParam().key);
    test::WriteAll(m_strIni, "[Lumetra]\n" + key + "=by hand\n");
    SaverSettings s;
    SetFromText(s, GetParam(), "-4321");
    SaveSettings(s, m_strIni);
    const CProfileText file(test::ReadAll(m_strIni));
    EXPECT_EQ(file.Find(kSettingsSection, key), GetParam().saved == Saved::kNo ? "by hand" : "-4321");
}

// At its default, a row saved kUnlessDefault stays out of a file that does
// not name it, and follows the member in one that does.
TEST_P(EachOption, AtItsDefaultItIsWrittenOnlyWhereTheFileNamesIt) {
    const std::string key(GetParam().key);
    const SaverSettings defaults;
    SaveSettings(defaults, m_strIni);
    const bool always = GetParam().saved == Saved::kYes;
    EXPECT_EQ(CProfileText(test::ReadAll(m_strIni)).Find(kSettingsSection, key).has_value(), always);
    test::WriteAll(m_strIni, "[Lumetra]\n" + key + "=5\n");
    SaveSettings(defaults, m_strIni);
    SaverSettings reread;
    SetFromText(reread, GetParam(), "5");
    LoadSettings(reread, m_strIni);
    EXPECT_EQ(test::Same(reread, defaults), GetParam().saved != Saved::kNo);
}

INSTANTIATE_TEST_SUITE_P(Table, EachOption, testing::ValuesIn(kSaverOptions),
                         [](const testing::TestParamInfo<SaverOption>& row) { return std::string(row.param.key); });

}  // namespace
}  // namespace lumetra
