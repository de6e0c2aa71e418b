#include "targets/text_scan.h"

#include <limits>

namespace lumetra {
namespace {

bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A literal character of a scan format matches only itself, with no white
// space skipped before it.
bool MatchLiteral(std::string_view text, std::size_t& pos, char literal) {
    if (pos >= text.size() || text[pos] != literal) return false;
    ++pos;
    return true;
}

}  // namespace

std::optional<int> ScanDecimal(std::string_view text, std::size_t& pos) {
    std::size_t i = pos;
    while (i < text.size() && IsCSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The magnitude stops growing at 2^63, the size of the most negative
    // 64-bit value; every further digit is still consumed.
    constexpr std::uint64_t kCap = std::uint64_t{1} << 63;
    const std::size_t firstDigit = i;
    std::uint64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        magnitude = magnitude <= (kCap - digit) / 10 ? magnitude * 10 + digit : kCap;
    }
    if (i == firstDigit) return std::nullopt;
    pos = i;

    std::int64_t value = 0;
    if (negative) {
        value = magnitude == kCap ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude);
    } else {
        value = magnitude == kCap ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(magnitude);
    }
    // Conversion to a narrower integer keeps the low bits (two's complement).
    return static_cast<int>(value);
}

int LeadingDecimal(std::string_view text) {
    std::size_t pos = 0;
    return ScanDecimal(text, pos).value_or(0);
}

std::optional<std::uint32_t> ScanDottedAddress(std::string_view text) {
    std::size_t pos = 0;
    std::uint32_t packed = 0;
    for (int index = 0; index < 4; ++index) {
        if (index > 0 && !MatchLiteral(text, pos, '.')) return std::nullopt;
        const std::optional<int> number = ScanDecimal(text, pos);
        if (!number) return std::nullopt;
        packed |= (static_cast<std::uint32_t>(*number) & 0xFFU) << (8 * index);
    }
    return packed;
}

std::optional<MapPosition> ScanMapPosition(std::string_view text) {
    std::size_t pos = 0;
    const std::optional<int> x = ScanDecimal(text, pos);
    if (!x || !MatchLiteral(text, pos, ',')) return std::nullopt;
    const std::optional<int> y = ScanDecimal(text, pos);
    if (!y) return std::nullopt;
    return MapPosition{*x, *y};
}

}  // namespace lumetra
