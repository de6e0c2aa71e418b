#include "places/target_fields.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "targets/ping_target.h"

namespace lumetra {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAlnum(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool IsLabel(std::string_view label) {
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
    return std::all_of(label.begin(), label.end(), [](char c) { return IsAlnum(c) || c == '-'; });
}

bool IsOctet(std::string_view part) {
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part.front() == '0')) return false;
    if (!std::all_of(part.begin(), part.end(), IsDigit)) return false;
    int value = 0;
    for (char c : part) value = value * 10 + (c - '0');
    return value <= 255;
}

}  // namespace

bool IsDottedAddress(std::string_view text) {
    for (int index = 0; index < 4; ++index) {
        const std::size_t dot = index < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos || !IsOctet(text.substr(0, dot))) return false;
        text.remove_prefix(index < 3 ? dot + 1 : dot);
    }
    return true;
}

bool IsHostOrAddress(std::string_view text) {
    if (IsDottedAddress(text)) return true;
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    if (text.empty() || text.size() > 253) return false;
    std::string_view last;
    for (std::string_view rest = text;;) {
        const std::size_t dot = rest.find('.');
        last = rest.substr(0, dot);
        if (!IsLabel(last)) return false;
        if (dot == std::string_view::npos) break;
        rest.remove_prefix(dot + 1);
    }
    // An all-digit last label makes the name read as a short address form
    // (1.2.3 is 1.2.0.3 to the system's resolver).
    return !std::all_of(last.begin(), last.end(), IsDigit);
}

std::string FieldsProblem(const TargetFields& fields) {
    if (fields.nType < 1 || fields.nType > 7) return "the type is not 1 to 7";
    if (fields.address != kProbeByName && !IsDottedAddress(fields.address)) {
        return "the address " + Quoted(fields.address) + " is no dotted IPv4 address";
    }
    if (!IsHostOrAddress(fields.host)) return "the host " + Quoted(fields.host) + " is no valid host name or address";
    const std::array<std::pair<const char*, const std::string*>, 2> texts{
        {{"info", &fields.info}, {"note", &fields.note}}};
    for (const auto& [name, text] : texts) {
        if (text->empty()) return std::string("the ") + name + " is empty";
        if (std::any_of(text->begin(), text->end(), IsControl)) {
            return std::string("the ") + name + " " + Quoted(*text) + " holds a tab or another control character";
        }
    }
    return {};
}

std::string PositionField(const MapPixel& pixel) {
    return std::to_string(pixel.nX) + "," + std::to_string(pixel.nY);
}

std::string FormatTargetLine(const TargetFields& fields, const MapPixel& pixel) {
    std::string line = std::to_string(fields.nType);
    for (const std::string* text : {&fields.address, &fields.host, &fields.info, &fields.note}) line += "\t" + *text;
    line += "\t" + PositionField(pixel);
    line += "\t";
    line += kRegionUsa;
    return line;
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string quoted = "\"";
    for (char c : text.substr(0, kShown)) {
        if (!IsControl(c)) {
            quoted += c;
            continue;
        }
        constexpr std::string_view kHex = "0123456789abcdef";
        const auto byte = static_cast<unsigned char>(c);
        quoted += "\\x";
        quoted += kHex[byte >> 4U];
        quoted += kHex[byte & 0xFU];
    }
    return quoted + (text.size() > kShown ? "...\"" : "\"");
}

}  // namespace lumetra
