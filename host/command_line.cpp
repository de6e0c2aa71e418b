#include "host/command_line.h"

namespace lumetra {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '-' || c == '/';
}

const char* SkipSpaces(const char* p) {
    while (*p == ' ') ++p;
    return p;
}

}  // namespace

const char* SkipProgramName(const char* p) {
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        // Bytes 0x80 and above are part of the name, hence unsigned.
        while (static_cast<unsigned char>(*p) > 0x20) ++p;
    }
    while (*p != '\0' && static_cast<unsigned char>(*p) <= 0x20) ++p;
    return p;
}

ParsedCommand ParseRunMode(const char* text) {
    const char* p = text;
    while (IsSeparator(*p)) ++p;
    switch (*p) {
        case '\0': return {RunMode::Config, p};
        case 'S':
        case 's': return {RunMode::Saver, p + 1};
        case 'C':
        case 'c': return {RunMode::ConfigOwned, p + 1};
        case 'P':
        case 'p':
        case 'L':
        case 'l': return {RunMode::Preview, SkipSpaces(p + 1)};
        case 'A':
        case 'a': return {RunMode::ChangePassword, SkipSpaces(p + 1)};
        default: return {RunMode::Invalid, p};
    }
}

std::uint32_t ParseHandle(const char* text) {
    std::uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10U + static_cast<std::uint32_t>(*p - '0');
    }
    return value;
}

}  // namespace lumetra
