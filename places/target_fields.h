// The fields of one target file line made from an imported host, checked so
// that the saver reads the line back as written: seven fields, none empty,
// none holding a tab or another control byte.
#pragma once

#include <string>
#include <string_view>

#include "places/place_on_map.h"

namespace lumetra {

// The address field of a host that is probed by its name.
inline constexpr std::string_view kProbeByName = "name";
// The note field of a host without a note.
inline constexpr std::string_view kNoNote = "*";
// The icon type of an imported host unless it names one: a server.
inline constexpr int kDefaultImportType = 1;

struct TargetFields {
    int nType = kDefaultImportType;     // 1 to 7
    std::string address{kProbeByName};  // a dotted IPv4 address, or "name"
    std::string host;
    std::string info;           // free text, stored only
    std::string note{kNoNote};  // "*" for none
};

// Four decimal numbers of 0 to 255 with dots between them and nothing else;
// no sign, blank or leading zero (which some readers take as octal).
bool IsDottedAddress(std::string_view text);

// A DNS host name (letters, digits and hyphens in labels of 1 to 63
// characters, no hyphen at a label's ends, at most 253 characters, one dot
// allowed at the end) whose last label is not all digits, or a dotted
// address.
bool IsHostOrAddress(std::string_view text);

// Why the fields cannot make a target line, or "" when they can.
std::string FieldsProblem(const TargetFields& fields);

// The position field of a target line: "X,Y".
std::string PositionField(const MapPixel& pixel);

// The line (without line end) of the fields at `pixel`, region "USA".
std::string FormatTargetLine(const TargetFields& fields, const MapPixel& pixel);

// `text` in double quotes for a message: control bytes as \xNN, at most 40
// bytes of it.
std::string Quoted(std::string_view text);

}  // namespace lumetra
