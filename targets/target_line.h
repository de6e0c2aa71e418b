// One line of the target file: seven tab-separated fields, or a blank or
// comment line. The file reader and `lumetra-map check` share this parser,
// so the tool explains exactly what the saver keeps and drops.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "targets/ping_target.h"

namespace lumetra {

inline constexpr int kTargetFields = 7;

enum class LineStatus {
    kIgnored,       // blank, or a comment (';' first after leading blanks and tabs)
    kAccepted,      // a record
    kTooFewFields,  // fewer than seven fields once empty ones collapse
    kBadPosition,   // the sixth field does not read as "x,y"
};

struct ParsedLine {
    LineStatus status = LineStatus::kIgnored;
    std::unique_ptr<PingTarget> target;  // set when accepted
    int nFields = 0;                     // fields found, counted up to seven
};

// Splits `text` at tabs as strtok(text, "\t") would: runs of tabs are one
// separator and leading or trailing tabs give no field, so no field is
// empty. Stores up to fields.size() fields and returns how many it stored.
std::size_t SplitTabFields(std::string_view text, std::span<std::string_view> fields);

// Parses one line without its line end. The line ends at its first NUL byte:
// every string of the program is C text, so nothing after a NUL could be seen.
ParsedLine ParseTargetLine(std::string_view line);

// Why a line was dropped, e.g. "too few fields (5 of 7)"; empty if it wasn't.
std::string DropReason(const ParsedLine& parsed);

}  // namespace lumetra
