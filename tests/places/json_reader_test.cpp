#include "places/json_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace lumetra {
namespace {

TEST(ParseJson, ValuesOfEveryKind) {
    const auto parsed = ParseJson(
        "\xEF\xBB\xBF{\"a\": [1, -0.5e2, true, false, null],\n \"s\": \"\\\"\\\\\\/\\b\\f\\n\\r\\t"
        "\\u00e9\\ud83d\\ude00\", \"a\": 0}");
    ASSERT_TRUE(std::holds_alternative<JsonValue>(parsed)) << std::get<JsonError>(parsed).message;
    const JsonValue& doc = std::get<JsonValue>(parsed);
    const JsonValue* a = doc.Find("a");  // the first of two members of that name
    ASSERT_TRUE(a != nullptr && a->kind == JsonValue::Kind::kArray && a->items.size() == 5);
    EXPECT_EQ(a->items[0].number, 1);
    EXPECT_EQ(a->items[1].number, -50);
    EXPECT_TRUE(a->items[2].kind == JsonValue::Kind::kBool && a->items[2].boolean);
    EXPECT_TRUE(a->items[3].kind == JsonValue::Kind::kBool && !a->items[3].boolean);
    EXPECT_EQ(a->items[4].kind, JsonValue::Kind::kNull);
    ASSERT_NE(doc.Find("s"), nullptr);
    EXPECT_EQ(doc.Find("s")->text, "\"\\/\b\f\n\r\t\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(doc.Find("s")->nLine, 2U);
    EXPECT_EQ(doc.Find("missing"), nullptr);
}

TEST(ParseJson, NestsUpToTheLimit) {
    const auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    EXPECT_TRUE(std::holds_alternative<JsonValue>(ParseJson(nested(kJsonMaxDepth))));
    const auto deeper = ParseJson(nested(kJsonMaxDepth + 1));
    ASSERT_TRUE(std::holds_alternative<JsonError>(deeper));
    EXPECT_EQ(std::get<JsonError>(deeper).nColumn, kJsonMaxDepth + 1U);
}

TEST(ParseJson, WhereAndWhyATextIsNoJson) {
    const struct {
        const char* text;
        std::size_t nLine;
        std::size_t nColumn;
        const char* message;
    } cases[] = {
        {"{\n  \"a\": x}", 2, 8, "unexpected character"},
        {"[1,]", 1, 4, "unexpected character"},
        {"{\"a\" 1}", 1, 6, "expected ':'"},
        {"[1 2]", 1, 4, "expected ','"},
        {"{1: 2}", 1, 2, "expected a member name in double quotes"},
        {"\"a\x01\"", 1, 3, "a control character inside a string"},
        {"\"\\x\"", 1, 3, "an unknown escape in a string"},
        {"\"\\ud800\"", 1, 8, "a high surrogate without its low one"},
        {"\"\\udc00\"", 1, 8, "a low surrogate without its high one"},
        {"\"\\u12g4\"", 1, 6, "expected four hexadecimal digits after \\u"},
        {"01", 1, 2, "text after the JSON value"},
        {"-", 1, 2, "the JSON text ends before its value is complete"},
        {"1.", 1, 3, "the JSON text ends before its value is complete"},
        {"1.e5", 1, 3, "expected a digit"},
        {"1e999", 1, 6, "number out of range"},
        {"\"abc", 1, 5, "the JSON text ends before its value is complete"},
        {"[tru", 1, 2, "the JSON text ends before its value is complete"},
        {"nul!", 1, 1, "unexpected character"},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseJson(c.text);
        ASSERT_TRUE(std::holds_alternative<JsonError>(parsed)) << c.text;
        const JsonError& error = std::get<JsonError>(parsed);
        EXPECT_EQ(error.message, c.message) << c.text;
        EXPECT_EQ(error.nLine, c.nLine) << c.text;
        EXPECT_EQ(error.nColumn, c.nColumn) << c.text;
    }
}

}  // namespace
}  // namespace lumetra
