#include "places/json_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

namespace lumetra {
namespace {

// Ends the parse from any depth; ParseJson turns it into a JsonError.
struct JsonSyntaxError {
    std::string message;
};

constexpr const char* kEndsEarly = "the JSON text ends before its value is complete";

struct LiteralWord {
    std::string_view word;
    JsonValue::Kind kind;
    bool boolean;
};
constexpr std::array<LiteralWord, 3> kLiterals{{
    {"true", JsonValue::Kind::kBool, true},
    {"false", JsonValue::Kind::kBool, false},
    {"null", JsonValue::Kind::kNull, false},
}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class CJsonParser {
public:
    explicit CJsonParser(std::string_view text) : m_text(text) {
        // A byte order mark is allowed to be passed over.
        if (m_text.starts_with("\xEF\xBB\xBF")) m_pos = 3;
    }

    JsonValue Document() {
        JsonValue value = Value(0);
        SkipSpace();
        if (m_pos < m_text.size()) Fail("text after the JSON value");
        return value;
    }

    std::size_t Line() const { return m_nLine; }
    std::size_t Column() const { return m_pos - m_lineStart + 1; }

private:
    [[noreturn]] void Fail(std::string message) const { throw JsonSyntaxError{std::move(message)}; }

    char Peek() {
        if (m_pos >= m_text.size()) Fail(kEndsEarly);
        return m_text[m_pos];
    }

    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected '") + c + "'");
        ++m_pos;
    }

    void SkipSpace() {
        for (; m_pos < m_text.size(); ++m_pos) {
            const char c = m_text[m_pos];
            if (c == '\n') {
                ++m_nLine;
                m_lineStart = m_pos + 1;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                break;
            }
        }
    }

    JsonValue Value(int depth) {
        SkipSpace();
        JsonValue value;
        value.nLine = m_nLine;
        const char c = Peek();
        if (c == '{' || c == '[') {
            if (depth >= kJsonMaxDepth) Fail("arrays and objects nested deeper than " + std::to_string(kJsonMaxDepth));
            if (c == '{') {
                Object(value, depth + 1);
            } else {
                Array(value, depth + 1);
            }
        } else if (c == '"') {
            value.kind = JsonValue::Kind::kString;
            value.text = String();
        } else if (c == '-' || IsDigit(c)) {
            value.kind = JsonValue::Kind::kNumber;
            value.number = Number();
        } else {
            Literal(value);
        }
        return value;
    }

    void Literal(JsonValue& value) {
        const std::string_view rest = m_text.substr(m_pos);
        for (const LiteralWord& literal : kLiterals) {
            if (rest.starts_with(literal.word)) {
                m_pos += literal.word.size();
                value.kind = literal.kind;
                value.boolean = literal.boolean;
                return;
            }
            if (literal.word.starts_with(rest)) Fail(kEndsEarly);
        }
        Fail("unexpected character");
    }

    void Array(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::kArray;
        Expect('[');
        SkipSpace();
        if (Peek() == ']') {
            ++m_pos;
            return;
        }
        for (;;) {
            value.items.push_back(Value(depth));
            SkipSpace();
            if (Peek() == ']') break;
            Expect(',');
        }
        ++m_pos;
    }

    void Object(JsonValue& value, int depth) {
        value.kind = JsonValue::Kind::kObject;
        Expect('{');
        SkipSpace();
        if (Peek() == '}') {
            ++m_pos;
            return;
        }
        for (;;) {
            SkipSpace();
            if (Peek() != '"') Fail("expected a member name in double quotes");
            std::string key = String();
            SkipSpace();
            Expect(':');
            value.members.push_back({std::move(key), Value(depth)});
            SkipSpace();
            if (Peek() == '}') break;
            Expect(',');
        }
        ++m_pos;
    }

    double Number() {
        const std::size_t start = m_pos;
        if (Peek() == '-') ++m_pos;
        if (Peek() == '0') {
            ++m_pos;
        } else {
            Digits();
        }
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            Digits();
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            ++m_pos;
            if (Peek() == '+' || Peek() == '-') ++m_pos;
            Digits();
        }
        double number = 0;
        const char* first = m_text.data() + start;
        const char* last = m_text.data() + m_pos;
        const auto [end, error] = std::from_chars(first, last, number);
        if (error != std::errc{} || end != last || !std::isfinite(number)) Fail("number out of range");
        return number;
    }

    void Digits() {
        if (!IsDigit(Peek())) Fail("expected a digit");
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) ++m_pos;
    }

    std::string String() {
        Expect('"');
        std::string text;
        for (;;) {
            const char c = Peek();
            ++m_pos;
            if (c == '"') return text;
            if (static_cast<unsigned char>(c) < 0x20) {
                --m_pos;
                Fail("a control character inside a string");
            }
            if (c == '\\') {
                Escape(text);
            } else {
                text += c;
            }
        }
    }

    void Escape(std::string& text) {
        const char c = Peek();
        ++m_pos;
        switch (c) {
            case '"':
            case '\\':
            case '/': text += c; return;
            case 'b': text += '\b'; return;
            case 'f': text += '\f'; return;
            case 'n': text += '\n'; return;
            case 'r': text += '\r'; return;
            case 't': text += '\t'; return;
            case 'u': AppendUtf8(text, CodePoint()); return;
            default: --m_pos; Fail("an unknown escape in a string");
        }
    }

    // The character of a \u escape just read, joining a surrogate pair.
    std::uint32_t CodePoint() {
        const std::uint32_t unit = HexUnit();
        if (unit >= 0xDC00 && unit <= 0xDFFF) Fail("a low surrogate without its high one");
        if (unit < 0xD800 || unit > 0xDBFF) return unit;
        if (m_text.substr(m_pos, 2) != "\\u") Fail("a high surrogate without its low one");
        m_pos += 2;
        const std::uint32_t low = HexUnit();
        if (low < 0xDC00 || low > 0xDFFF) Fail("a high surrogate without its low one");
        return 0x10000 + ((unit - 0xD800) << 10U) + (low - 0xDC00);
    }

    std::uint32_t HexUnit() {
        std::uint32_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = Peek();
            unsigned digit = 0;
            if (IsDigit(c)) {
                digit = static_cast<unsigned>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                digit = static_cast<unsigned>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                digit = static_cast<unsigned>(c - 'A' + 10);
            } else {
                Fail("expected four hexadecimal digits after \\u");
            }
            unit = unit * 16 + digit;
            ++m_pos;
        }
        return unit;
    }

    static void AppendUtf8(std::string& text, std::uint32_t cp) {
        const auto byte = [&text](std::uint32_t b) { text += static_cast<char>(static_cast<unsigned char>(b)); };
        if (cp < 0x80) {
            byte(cp);
        } else if (cp < 0x800) {
            byte(0xC0 | (cp >> 6U));
            byte(0x80 | (cp & 0x3FU));
        } else if (cp < 0x10000) {
            byte(0xE0 | (cp >> 12U));
            byte(0x80 | ((cp >> 6U) & 0x3FU));
            byte(0x80 | (cp & 0x3FU));
        } else {
            byte(0xF0 | (cp >> 18U));
            byte(0x80 | ((cp >> 12U) & 0x3FU));
            byte(0x80 | ((cp >> 6U) & 0x3FU));
            byte(0x80 | (cp & 0x3FU));
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_nLine = 1;
    std::size_t m_lineStart = 0;
};

}  // namespace

const JsonValue* JsonValue::Find(std::string_view key) const {
    for (const JsonMember& member : members) {
        if (member.key == key) return &member.value;
    }
    return nullptr;
}

std::variant<JsonValue, JsonError> ParseJson(std::string_view text) {
    CJsonParser parser(text);
    try {
        return parser.Document();
    } catch (const JsonSyntaxError& error) {
        return JsonError{parser.Line(), parser.Column(), error.message};
    }
}

}  // namespace lumetra
