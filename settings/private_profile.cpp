#include "settings/private_profile.h"

#include <cstdint>

#include "framework/replace_file.h"
#include "settings/profile_file.h"

namespace lumetra {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text) {
    text = TrimLeft(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// What one line means to the reader.
struct ParsedLine {
    enum class Kind { Other, Header, Key };
    Kind kind = Kind::Other;
    std::string_view name;       // section or key, trimmed
    std::string_view value;      // trimmed
    std::size_t valueBegin = 0;  // offset of the value (after '=' and blanks) in the content
};

ParsedLine ParseLine(std::string_view content) {
    ParsedLine line;
    const std::string_view text = TrimLeft(content);
    if (text.empty() || text.front() == ';') return line;
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close != std::string_view::npos) {
            line.kind = ParsedLine::Kind::Header;
            line.name = Trim(text.substr(1, close - 1));
        }
        return line;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return line;
    line.name = Trim(content.substr(0, equals));
    if (line.name.empty()) return line;
    const std::string_view rest = content.substr(equals + 1);
    const std::string_view valueOnward = TrimLeft(rest);
    line.kind = ParsedLine::Kind::Key;
    line.value = Trim(valueOnward);
    line.valueBegin = content.size() - valueOnward.size();
    return line;
}

// One pair of matching quotes around a value is taken off, so that a value
// can keep outer blanks or quotes, and quoted paths and numbers work.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// `value` as it must stand in the file for a read to give it back.
std::string StoredForm(std::string_view value) {
    if (Unquote(Trim(value)) == value) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

bool IsStorableKey(std::string_view key) {
    return !key.empty() && key.front() != '[' && key.front() != ';' && key.find('=') == std::string_view::npos &&
           !HasLineBreak(key);
}

bool IsStorableSection(std::string_view section) {
    return section.find(']') == std::string_view::npos && !HasLineBreak(section);
}

// The digit's value in any base up to 36; 36 for a character that is none.
std::uint32_t DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A' + 10);
    return 36;
}

std::uint32_t TakeBase(std::string_view& value) {
    struct Prefix {
        std::string_view text;
        std::uint32_t base;
    };
    for (const Prefix prefix : {Prefix{"0x", 16}, Prefix{"0o", 8}, Prefix{"0b", 2}}) {
        if (value.starts_with(prefix.text)) {
            value.remove_prefix(prefix.text.size());
            return prefix.base;
        }
    }
    return 10;
}

}  // namespace

CProfileText::CProfileText(std::string_view text, std::string_view newLine) : m_strNewLine(newLine) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lineFeed = text.find('\n', pos);
        if (lineFeed == std::string_view::npos) {
            m_lines.push_back({std::string(text.substr(pos)), {}});
            break;
        }
        std::string_view body = text.substr(pos, lineFeed - pos);
        const bool crlf = !body.empty() && body.back() == '\r';
        if (crlf) body.remove_suffix(1);
        m_lines.push_back({std::string(body), crlf ? "\r\n" : "\n"});
        pos = lineFeed + 1;
    }
    if (!m_lines.empty() && !m_lines.front().m_strEnd.empty()) m_strNewLine = m_lines.front().m_strEnd;
}

std::string_view CProfileText::Content(std::size_t index) const {
    std::string_view body = m_lines[index].m_strBody;
    if (index == 0 && body.starts_with(kByteOrderMark)) body.remove_prefix(kByteOrderMark.size());
    return body;
}

std::optional<CProfileText::LineRange> CProfileText::FirstSection(std::string_view section) const {
    std::optional<LineRange> range;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const ParsedLine line = ParseLine(Content(i));
        if (line.kind != ParsedLine::Kind::Header) continue;
        // Any header ends it, even one of the same name: later sections of a name are not read.
        if (range) {
            range->end = i;
            return range;
        }
        if (EqualNoCase(line.name, section)) range = LineRange{i, m_lines.size()};
    }
    return range;
}

std::optional<std::string_view> CProfileText::Find(std::string_view section, std::string_view key) const {
    key = Trim(key);
    const std::optional<LineRange> range = FirstSection(Trim(section));
    if (key.empty() || !range) return std::nullopt;
    for (std::size_t i = range->begin + 1; i < range->end; ++i) {
        const ParsedLine line = ParseLine(Content(i));
        if (line.kind == ParsedLine::Kind::Key && EqualNoCase(line.name, key)) return Unquote(line.value);
    }
    return std::nullopt;
}

bool CProfileText::Set(std::string_view section, std::string_view key, std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    if (!IsStorableSection(section) || !IsStorableKey(key) || HasLineBreak(value)) return false;
    const std::string stored = StoredForm(value);
    std::string entry = std::string(key) + "=" + stored;

    const std::optional<LineRange> range = FirstSection(section);
    if (range) {
        std::size_t lastContent = range->begin;  // the last non-blank line of the section
        for (std::size_t i = range->begin + 1; i < range->end; ++i) {
            const std::string_view content = Content(i);
            const ParsedLine line = ParseLine(content);
            if (line.kind == ParsedLine::Kind::Key && EqualNoCase(line.name, key)) {
                // Keep the key and the spacing as the user wrote them; only the value changes.
                std::string& body = m_lines[i].m_strBody;
                body.resize(body.size() - content.size() + line.valueBegin);
                body.append(stored);
                return true;
            }
            if (!Trim(content).empty()) lastContent = i;
        }
        InsertLine(lastContent + 1, std::move(entry));
        return true;
    }
    if (!m_lines.empty() && !Trim(Content(m_lines.size() - 1)).empty()) InsertLine(m_lines.size(), {});
    InsertLine(m_lines.size(), "[" + std::string(section) + "]");
    InsertLine(m_lines.size(), std::move(entry));
    return true;
}

void CProfileText::InsertLine(std::size_t index, std::string body) {
    if (index == m_lines.size() && !m_lines.empty() && m_lines.back().m_strEnd.empty()) {
        // A file holding only a byte-order mark: the new line goes right after it.
        if (Content(m_lines.size() - 1).empty()) {
            m_lines.back().m_strBody.append(body);
            m_lines.back().m_strEnd = m_strNewLine;
            return;
        }
        m_lines.back().m_strEnd = m_strNewLine;
    }
    const auto at = m_lines.begin() + static_cast<std::ptrdiff_t>(index);
    m_lines.insert(at, Line{std::move(body), m_strNewLine});
}

std::string CProfileText::Text() const {
    std::string text;
    for (const Line& line : m_lines) {
        text += line.m_strBody;
        text += line.m_strEnd;
    }
    return text;
}

std::string CutToLimit(std::string_view value, std::size_t limit) {
    if (limit == 0) return {};
    return std::string(value.substr(0, limit - 1));
}

int ParseProfileInt(std::string_view value, int fallback) {
    if (value.empty()) return fallback;
    // Every control character counts as a blank here, not only the ones that trimming removes.
    while (!value.empty() && static_cast<unsigned char>(value.front()) <= ' ') value.remove_prefix(1);
    bool negative = false;
    if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    const std::uint32_t base = TakeBase(value);
    // Unsigned arithmetic wraps modulo 2^32 by definition, as the platform's reader does.
    std::uint32_t magnitude = 0;
    for (const char c : value) {
        const std::uint32_t digit = DigitValue(c);
        if (digit >= base) break;
        magnitude = magnitude * base + digit;
    }
    const std::uint32_t bits = negative ? 0U - magnitude : magnitude;
    return static_cast<int>(bits);  // modular since C++20
}

std::optional<CProfileText> LoadProfile(const std::string& path) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return CProfileText(*bytes);
}

std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view fallback,
                              std::size_t limit, const std::string& path) {
    const std::optional<CProfileText> profile = LoadProfile(path);
    const std::optional<std::string_view> value = profile ? profile->Find(section, key) : std::nullopt;
    return CutToLimit(value.value_or(fallback), limit);
}

int ReadProfileInt(std::string_view section, std::string_view key, int fallback, const std::string& path) {
    const std::optional<CProfileText> profile = LoadProfile(path);
    const std::optional<std::string_view> value = profile ? profile->Find(section, key) : std::nullopt;
    return value ? ParseProfileInt(*value, fallback) : fallback;
}

bool WriteProfileValues(std::string_view section, std::span<const ProfileEntry> entries, const std::string& path) {
    // An unreadable file is never rebuilt from nothing: that would lose its content.
    std::optional<CProfileText> profile = LoadProfile(path);
    if (!profile) return false;
    const std::string before = profile->Text();
    for (const ProfileEntry& entry : entries) {
        if (!profile->Set(section, entry.key, entry.value)) return false;
    }
    std::string after = profile->Text();
    // The dialog saves several times a second, mostly without changes.
    if (after == before) return true;
    // A settings file linked from the user's own dot files stays linked.
    return !ReplaceFileWhole(path, after, LinkRule::kFollowOwnLinks);
}

bool WriteProfileValue(std::string_view section, std::string_view key, std::string_view value,
                       const std::string& path) {
    const ProfileEntry entry{key, value};
    return WriteProfileValues(section, std::span(&entry, 1), path);
}

}  // namespace lumetra
