// The ini text in memory: what counts as a section or a key, how values are
// cut and parsed, and that an edit touches nothing but its own line.
#include <gtest/gtest.h>

#include <climits>

#include "settings/private_profile.h"

namespace lumetra {
namespace {

TEST(ParseProfileInt, SignsBlanksAndTrailingText) {
    EXPECT_EQ(ParseProfileInt("42", 9), 42);
    EXPECT_EQ(ParseProfileInt("  \t42", 9), 42);
    EXPECT_EQ(ParseProfileInt("-17", 9), -17);
    EXPECT_EQ(ParseProfileInt("+5", 9), 5);
    EXPECT_EQ(ParseProfileInt("007", 9), 7);
    EXPECT_EQ(ParseProfileInt("12abc", 9), 12);
    EXPECT_EQ(ParseProfileInt("1e3", 9), 1);
    EXPECT_EQ(ParseProfileInt("-0x10", 9), -16);
    EXPECT_EQ(ParseProfileInt("0X10", 9), 0);  // the prefixes are lower case only
    EXPECT_EQ(ParseProfileInt("3 4", 9), 3);
}

TEST(ParseProfileInt, NoDigitsGiveZeroButEmptyGivesTheFallback) {
    EXPECT_EQ(ParseProfileInt("abc", 9), 0);
    EXPECT_EQ(ParseProfileInt("-", 9), 0);
    EXPECT_EQ(ParseProfileInt("+-3", 9), 0);
    EXPECT_EQ(ParseProfileInt("- 5", 9), 0);
    EXPECT_EQ(ParseProfileInt("", 9), 9);
    EXPECT_EQ(ParseProfileInt(" \t ", -4), 0);  // a quoted "  " is there, without digits
}

TEST(ParseProfileInt, WrapsModulo2To32) {
    EXPECT_EQ(ParseProfileInt("2147483647", 0), INT_MAX);
    EXPECT_EQ(ParseProfileInt("2147483648", 0), INT_MIN);
    EXPECT_EQ(ParseProfileInt("-2147483648", 0), INT_MIN);
    EXPECT_EQ(ParseProfileInt("-2147483649", 0), INT_MAX);
    EXPECT_EQ(ParseProfileInt("4294967295", 0), -1);
    EXPECT_EQ(ParseProfileInt("4294967296", 0), 0);
    EXPECT_EQ(ParseProfileInt("12884901895", 0), 7);                    // 3 * 2^32 + 7
    EXPECT_EQ(ParseProfileInt("99999999999999999999", 0), 1661992959);  // (10^20 - 1) mod 2^32
    EXPECT_EQ(ParseProfileInt(std::string(5000, '9'), 0), ParseProfileInt(std::string(5000, '9'), 1));
}

TEST(CutToLimit, BehavesLikeACBufferOfThatSize) {
    EXPECT_EQ(CutToLimit("abc", 0), "");
    EXPECT_EQ(CutToLimit("abc", 1), "");
    EXPECT_EQ(CutToLimit("abc", 3), "ab");
    EXPECT_EQ(CutToLimit("abc", 4), "abc");
    EXPECT_EQ(CutToLimit("abc", 1000), "abc");
}

TEST(ProfileFind, TrimsNamesAndValuesButKeepsInnerBlanks) {
    const CProfileText ini("[ My Section ]\n  Some Key \t=  a  b  \n");
    EXPECT_EQ(ini.Find("my section", "some key"), "a  b");
    EXPECT_EQ(ini.Find("  MY SECTION ", " SOME KEY"), "a  b");
    EXPECT_FALSE(ini.Find("My", "Some Key"));
    EXPECT_FALSE(ini.Find("My Section", "Some"));
    EXPECT_FALSE(ini.Find("My Section", ""));
}

TEST(ProfileFind, CaseIsFoldedForAsciiOnly) {
    const CProfileText ini("[Sect\xC3\x84]\nK\xC3\x84Y=1\n");
    EXPECT_EQ(ini.Find("SECT\xC3\x84", "k\xC3\x84y"), "1");
    EXPECT_FALSE(ini.Find("sect\xC3\xA4", "k\xC3\x84y"));  // lower-case A umlaut is another name
}

TEST(ProfileFind, PresentButEmptyIsNotAbsent) {
    const CProfileText ini("[S]\nEmpty=\nBlank =   \n");
    EXPECT_EQ(ini.Find("S", "Empty"), "");
    EXPECT_EQ(ini.Find("S", "Blank"), "");
    EXPECT_FALSE(ini.Find("S", "Other"));
}

TEST(ProfileFind, CommentsHeadersWithTailsAndStrayKeys) {
    const CProfileText ini(
        "Key=before any section\n"
        "[S] ; a remark after the bracket\n"
        "; Key=commented out\n"
        "  ;Other=also a comment\n"
        "[not a header\n"
        "Key=first\n"
        "Key=second\n");
    EXPECT_EQ(ini.Find("S", "Key"), "first");
    EXPECT_FALSE(ini.Find("S", "Other"));
    EXPECT_FALSE(ini.Find("S", "; Key"));
    EXPECT_FALSE(ini.Find("", "Key"));
}

TEST(ProfileFind, BytesOfAnyKindInValues) {
    const std::string text = std::string("[S]\nK=a\0b\xFF", 10) + "\n";
    const CProfileText ini(text);
    EXPECT_EQ(ini.Find("S", "K"), std::string_view("a\0b\xFF", 4));
    EXPECT_EQ(ini.Text(), text);
}

TEST(ProfileFind, ByteOrderMarkOnlyCountsAtTheStart) {
    EXPECT_EQ(CProfileText("\xEF\xBB\xBF[S]\nK=1\n").Find("S", "K"), "1");
    EXPECT_FALSE(CProfileText("\n\xEF\xBB\xBF[S]\nK=1\n").Find("S", "K"));
}

TEST(ProfileText, UntouchedTextComesBackByteForByte) {
    for (const char* text : {"", "\n", "\r\n\r\n", "a", "[S]\r\nK=1\nL=2\r\n\n", "\xEF\xBB\xBF", "x\ry\r"}) {
        EXPECT_EQ(CProfileText(text).Text(), text);
    }
}

TEST(ProfileSet, ReplacingKeepsEveryOtherByte) {
    CProfileText ini("; head\r\n[S]\r\n  K  =  old value  \r\nL=2\r\n[T]\r\nK=3");
    ASSERT_TRUE(ini.Set("s", "k", "new"));
    EXPECT_EQ(ini.Text(), "; head\r\n[S]\r\n  K  =  new\r\nL=2\r\n[T]\r\nK=3");
    ASSERT_TRUE(ini.Set("T", "K", "4"));
    EXPECT_EQ(ini.Text(), "; head\r\n[S]\r\n  K  =  new\r\nL=2\r\n[T]\r\nK=4");  // still no final line end
}

TEST(ProfileSet, EmptyOldValueAndValuesThatNeedQuotes) {
    CProfileText ini("[S]\nA=\nB =  \nC=\"old\"\n");
    ASSERT_TRUE(ini.Set("S", "A", "1"));
    ASSERT_TRUE(ini.Set("S", "B", "  spaced  "));
    ASSERT_TRUE(ini.Set("S", "C", "'q'"));
    ASSERT_TRUE(ini.Set("S", "D", "\""));
    const std::string once = ini.Text();
    EXPECT_EQ(once, "[S]\nA=1\nB =  \"  spaced  \"\nC=\"'q'\"\nD=\"\n");
    ASSERT_TRUE(ini.Set("S", "B", "  spaced  "));
    EXPECT_EQ(ini.Text(), once);
}

TEST(ProfileSet, NewKeyGoesAfterTheLastNonBlankLineOfTheSection) {
    CProfileText ini("[A]\nx=1\n; about B\n\n\n[B]\ny=2\n");
    ASSERT_TRUE(ini.Set("A", "z", "3"));
    EXPECT_EQ(ini.Text(), "[A]\nx=1\n; about B\nz=3\n\n\n[B]\ny=2\n");
}

TEST(ProfileSet, NewKeyInAnEmptySectionFollowsItsHeader) {
    CProfileText ini("[A]\n\n[B]\n");
    ASSERT_TRUE(ini.Set("A", "k", "v"));
    EXPECT_EQ(ini.Text(), "[A]\nk=v\n\n[B]\n");
}

TEST(ProfileSet, NewSectionIsSeparatedByOneBlankLine) {
    CProfileText withContent("[A]\r\nx=1");
    ASSERT_TRUE(withContent.Set("B", "k", "v"));
    EXPECT_EQ(withContent.Text(), "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n");

    CProfileText endsBlank("[A]\nx=1\n\n");
    ASSERT_TRUE(endsBlank.Set("B", "k", "v"));
    EXPECT_EQ(endsBlank.Text(), "[A]\nx=1\n\n[B]\nk=v\n");

    CProfileText empty("", "\r\n");
    ASSERT_TRUE(empty.Set(" B ", " k ", "v"));
    EXPECT_EQ(empty.Text(), "[B]\r\nk=v\r\n");
}

TEST(ProfileSet, TheFirstLineEndDecidesForNewLines) {
    CProfileText ini("[A]\nx=1\r\n", "\r\n");
    ASSERT_TRUE(ini.Set("A", "y", "2"));
    EXPECT_EQ(ini.Text(), "[A]\nx=1\r\ny=2\n");
}

TEST(ProfileSet, EntriesThatCouldNotBeReadBackAreRefused) {
    const std::string text = "[S]\nK=1\n";
    CProfileText ini(text);
    EXPECT_FALSE(ini.Set("S", "", "v"));
    EXPECT_FALSE(ini.Set("S", "   ", "v"));
    EXPECT_FALSE(ini.Set("S", "a=b", "v"));
    EXPECT_FALSE(ini.Set("S", "[K", "v"));
    EXPECT_FALSE(ini.Set("S", ";K", "v"));
    EXPECT_FALSE(ini.Set("S", "K\nL", "v"));
    EXPECT_FALSE(ini.Set("S]", "K", "v"));
    EXPECT_FALSE(ini.Set("S\rT", "K", "v"));
    EXPECT_FALSE(ini.Set("S", "K", "two\nlines"));
    EXPECT_FALSE(ini.Set("S", "K", "cr\r"));
    EXPECT_EQ(ini.Text(), text);
    EXPECT_TRUE(ini.Set("S", "K]", "v"));  // a bracket inside a key is harmless
    EXPECT_EQ(ini.Find("S", "K]"), "v");
}

TEST(ProfileSet, WrittenValuesReadBackAndOthersStay) {
    CProfileText ini("[S]\nA=1\n[T]\nA=2\n");
    ASSERT_TRUE(ini.Set("S", "A", "10"));
    ASSERT_TRUE(ini.Set("S", "B", "20"));
    ASSERT_TRUE(ini.Set("U", "A", "30"));
    const CProfileText reread(ini.Text());
    EXPECT_EQ(reread.Find("S", "A"), "10");
    EXPECT_EQ(reread.Find("S", "B"), "20");
    EXPECT_EQ(reread.Find("T", "A"), "2");
    EXPECT_EQ(reread.Find("U", "A"), "30");
    EXPECT_FALSE(reread.Find("T", "B"));
}

}  // namespace
}  // namespace lumetra
