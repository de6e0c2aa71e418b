// Number reading for the target file: the C library's "%d" conversion and
// atoi, written out so that the results are the same on every platform and
// defined for every input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumetra {

struct MapPosition {
    int nX;
    int nY;
};

// One decimal integer at `pos`, read as "%d" does: white space (space, \t,
// \n, \v, \f, \r) is skipped, then an optional sign and at least one digit.
// On success `pos` moves past the last digit; on failure it is left alone.
// A value out of range saturates to the 64-bit range and then keeps its low
// 32 bits, as glibc does: 4294967297 gives 1, 99999999999999999999 gives -1.
std::optional<int> ScanDecimal(std::string_view text, std::size_t& pos);

// The decimal integer at the start of `text` as atoi reads it, 0 if none.
int LeadingDecimal(std::string_view text);

// "%d.%d.%d.%d": four numbers with a dot right after each of the first three
// (a blank may stand before a number, never before a dot); text after the
// fourth is ignored. The low 8 bits of each number are packed with the first
// number in the lowest byte, so 300 contributes 44 and -1 contributes 255.
std::optional<std::uint32_t> ScanDottedAddress(std::string_view text);

// "%d,%d": x, a comma right after it, then y; text after y is ignored.
std::optional<MapPosition> ScanMapPosition(std::string_view text);

}  // namespace lumetra
