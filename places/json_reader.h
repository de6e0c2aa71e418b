// A small, strict reader of JSON text (RFC 8259): one value with nothing but
// white space around it, nested at most kJsonMaxDepth arrays and objects
// deep. Strings come back as UTF-8 with their escapes resolved; bytes of
// 0x80 and above pass through as they stand.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lumetra {

inline constexpr int kJsonMaxDepth = 64;

struct JsonMember;

struct JsonValue {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

    Kind kind = Kind::kNull;
    bool boolean = false;
    double number = 0;
    std::string text;                 // a string's characters
    std::vector<JsonValue> items;     // an array's values
    std::vector<JsonMember> members;  // an object's members in text order
    std::size_t nLine = 0;            // 1-based line where the value starts

    // The value of the first member named `key`; null when this is no
    // object or has no such member.
    const JsonValue* Find(std::string_view key) const;
};

struct JsonMember {
    std::string key;
    JsonValue value;
};

// Where the text stops being JSON, and why.
struct JsonError {
    std::size_t nLine;
    std::size_t nColumn;  // 1-based, in bytes
    std::string message;
};

std::variant<JsonValue, JsonError> ParseJson(std::string_view text);

}  // namespace lumetra
