// A private-profile (ini) store of our own, the same on every platform, that
// reads a file as the platform's own profile functions read it.
//
// File layout it understands:
//   [Section]        a section header; blanks inside and around the brackets
//                    are ignored, text after ']' too
//   key = value      a key line; blanks around the key and the value are trimmed,
//                    then one pair of matching outer quotes ("..." or '...')
//   anything else    comments (';'), blank lines, lines without '=', bytes of
//                    any kind: kept verbatim, never taken for keys
// Section and key names match case-insensitively (ASCII only). Keys before the
// first header belong to no section. Only the first section of a name is read,
// and in it the first key of a name. A UTF-8 byte-order mark at the start is
// skipped when reading and kept when writing. Lines may be of any length and
// end in CR LF or LF; a rewrite keeps the file's own line ends.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

// Line end of a new file: what editors on this platform expect.
#ifdef _WIN32
inline constexpr std::string_view kNativeNewLine = "\r\n";
#else
inline constexpr std::string_view kNativeNewLine = "\n";
#endif

// The text of one ini file, edited in memory. Every line that an edit does not
// touch keeps its exact bytes.
class CProfileText {
public:
    // `newLine` ends added lines when the text has no line end of its own.
    explicit CProfileText(std::string_view text = {}, std::string_view newLine = kNativeNewLine);

    // The value of `key` in `section` as read (trimmed, outer quotes removed);
    // nullopt when there is none.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Stores `value` so that Find gives it back unchanged: in quotes when its
    // outer blanks or outer quotes would be lost on reading, else as it is.
    // Replaces the key's value where Find sees it, or adds "key=value" after the
    // last non-blank line of the first section of that name, or adds the section
    // (after a blank line when the text has content) at the end. Returns false
    // and changes nothing when the entry could not be read back as written: an
    // empty key; a key with '=' or starting with '[' or ';'; a section name with
    // ']'; a line break in any of them.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

private:
    struct Line {
        std::string m_strBody;  // without its line end
        std::string m_strEnd;   // "\r\n", "\n" or "" (the last line)
    };

    // Lines [begin, end) of the first section named `section`, header included.
    struct LineRange {
        std::size_t begin;
        std::size_t end;
    };

    std::string_view Content(std::size_t index) const;  // the body without a byte-order mark
    std::optional<LineRange> FirstSection(std::string_view section) const;
    void InsertLine(std::size_t index, std::string body);

    std::vector<Line> m_lines;
    std::string m_strNewLine;
};

// `value` cut to at most limit - 1 characters, like a C buffer of `limit`
// bytes; a limit of 0 gives "".
std::string CutToLimit(std::string_view value, std::size_t limit);

// A value as read (Find) taken as a number: optional leading blanks and
// control characters, an optional '-' or '+', an optional "0x", "0o" or "0b"
// (lower case) for base 16, 8 or 2, else base 10, then digits of that base;
// anything after them is ignored. No digits give 0; an empty value gives
// `fallback`. The result wraps modulo 2^32.
int ParseProfileInt(std::string_view value, int fallback);

// The file `path` as a profile: an empty one when the file does not exist,
// nullopt when it exists but cannot be read.
std::optional<CProfileText> LoadProfile(const std::string& path);

// The platform's private-profile contract, over a file:

// The key's value as read (Find), else `fallback`; either cut by
// CutToLimit(…, limit). A file that is missing or unreadable has no keys.
std::string ReadProfileString(std::string_view section, std::string_view key, std::string_view fallback,
                              std::size_t limit, const std::string& path);

// ParseProfileInt of the key's value; `fallback` when the key is absent.
int ReadProfileInt(std::string_view section, std::string_view key, int fallback, const std::string& path);

struct ProfileEntry {
    std::string_view key;
    std::string_view value;
};

// Sets every entry in order (CProfileText::Set) and replaces the file whole
// (a temporary file beside it, renamed into place), so a reader sees either
// the old or the new file. False when an entry is refused, the file exists
// but cannot be read, or cannot be replaced; then the file is as it was and
// no temporary file is left. An unchanged text is not rewritten.
bool WriteProfileValues(std::string_view section, std::span<const ProfileEntry> entries, const std::string& path);

// One entry of WriteProfileValues.
bool WriteProfileValue(std::string_view section, std::string_view key, std::string_view value, const std::string& path);

}  // namespace lumetra
