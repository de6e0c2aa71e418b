// Little-endian fields of a file's bytes, read one by one as the file formats
// define them; a read past the end throws, so a short file fails its test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace lumetra::test {

inline std::uint32_t LittleEndianAt(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t size) {
    if (offset > bytes.size() || size > bytes.size() - offset) throw std::out_of_range("read past the end");
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t{bytes[offset + i]} << (8 * i);
    return value;
}

inline std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(LittleEndianAt(bytes, offset, 2));
}
inline std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return LittleEndianAt(bytes, offset, 4);
}
inline std::int32_t I32At(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::int32_t>(LittleEndianAt(bytes, offset, 4));
}

}  // namespace lumetra::test
