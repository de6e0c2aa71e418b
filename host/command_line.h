// The screen-saver command line: which run mode the display settings asked
// for, and the text that follows the mode letter. Portable so that the
// grammar is tested natively as well as under Wine.
#pragma once

#include <cstdint>

namespace lumetra {

enum class RunMode {
    Config,          // empty text: the dialog with no owner
    ConfigOwned,     // C: the dialog owned by the foreground window
    Saver,           // S: full screen
    Preview,         // P or L: inside the window whose handle follows
    ChangePassword,  // A: the 9x password change, owner handle follows
    Invalid,         // any other first character: exit code -1
};

struct ParsedCommand {
    RunMode mode;
    // For Preview and ChangePassword: the text after the letter and its
    // spaces. Otherwise the text after the mode character (unused).
    const char* rest;
};

// Skips the program name and the blanks after it, as the process command line
// carries it: a quoted name up to its closing quote, else every byte above 0x20.
const char* SkipProgramName(const char* commandLine);

// Reads the mode from the text after the program name.
ParsedCommand ParseRunMode(const char* text);

// The 32-bit value of the leading decimal digits; no digits give 0. Wraps
// modulo 2^32 like the platform's own reader, without overflow.
std::uint32_t ParseHandle(const char* text);

}  // namespace lumetra
