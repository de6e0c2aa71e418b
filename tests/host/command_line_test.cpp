#include "host/command_line.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(RunMode, SeparatorsAndCaseAllStartTheSaver) {
    for (const char* tail : {"/s", "-S", "s", "/-s", " - /S extra"}) {
        EXPECT_EQ(ParseRunMode(tail).mode, RunMode::Saver) << tail;
    }
}

TEST(RunMode, EmptyOrOnlySeparatorsShowTheDialog) {
    EXPECT_EQ(ParseRunMode("").mode, RunMode::Config);
    EXPECT_EQ(ParseRunMode(" -/ /").mode, RunMode::Config);
}

TEST(RunMode, UnknownCharactersAreInvalid) {
    for (const char* tail : {"/x", "1", "\t/s", "/\ts", "\x80"}) {
        EXPECT_EQ(ParseRunMode(tail).mode, RunMode::Invalid) << tail;
    }
}

TEST(RunMode, PreviewAndPasswordCarryTheHandleText) {
    const ParsedCommand p = ParseRunMode("/p   1234");
    EXPECT_EQ(p.mode, RunMode::Preview);
    EXPECT_EQ(ParseHandle(p.rest), 1234U);
    EXPECT_EQ(ParseRunMode("/l 99").mode, RunMode::Preview);
    EXPECT_EQ(ParseHandle(ParseRunMode("/p:1234").rest), 0U);  // the colon stops the number
    const ParsedCommand a = ParseRunMode("-A 77");
    EXPECT_EQ(a.mode, RunMode::ChangePassword);
    EXPECT_EQ(ParseHandle(a.rest), 77U);
    EXPECT_EQ(ParseRunMode("/c:1234").mode, RunMode::ConfigOwned);
}

TEST(ParseHandle, WrapsWithoutOverflowAndStopsAtNonDigits) {
    EXPECT_EQ(ParseHandle(""), 0U);
    EXPECT_EQ(ParseHandle("42x7"), 42U);
    EXPECT_EQ(ParseHandle("4294967296"), 0U);  // 2^32 wraps to 0
    EXPECT_EQ(ParseHandle("4294967297"), 1U);
}

TEST(ProgramName, QuotedNameWithSpacesIsRemovedWhole) {
    EXPECT_STREQ(SkipProgramName("\"C:\\My Savers\\lumetra.scr\" /s"), "/s");
    EXPECT_STREQ(SkipProgramName("lumetra.scr\t/p 5"), "/p 5");  // a tab after the name is skipped
    EXPECT_STREQ(SkipProgramName("\"unterminated"), "");
    EXPECT_STREQ(SkipProgramName("na\xE9me /c"), "/c");  // high bytes belong to the name
}

}  // namespace
}  // namespace lumetra
