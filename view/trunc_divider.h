// Truncating division of 32-bit values by a divisor fixed for a whole render,
// done with one multiplication and a shift so the per-pixel loop can run in
// vector registers. Exact for every numerator except INT32_MIN.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace lumetra {

class CTruncDivider {
public:
    // divisor: any int32 except 0 and INT32_MIN.
    explicit CTruncDivider(std::int32_t divisor) {
        if (divisor == 0 || divisor == INT32_MIN) throw std::invalid_argument("divisor out of range");
        const std::uint32_t magnitude =
            divisor < 0 ? 0U - static_cast<std::uint32_t>(divisor) : static_cast<std::uint32_t>(divisor);
        // With 2^(l-1) < d <= 2^l and m = ceil(2^(31+l) / d), floor(a * m / 2^(31+l))
        // equals floor(a / d) for every a below 2^31, and m fits 32 bits.
        int l = 0;
        while ((std::uint64_t{1} << l) < magnitude) ++l;
        m_nShift = 31 + l;
        const std::uint64_t power = std::uint64_t{1} << m_nShift;
        m_nMagic = static_cast<std::uint32_t>((power + magnitude - 1) / magnitude);
        m_nSign = divisor < 0 ? -1 : 0;
    }

    // n: any int32 except INT32_MIN.
    std::int32_t Divide(std::int32_t n) const {
        const std::int32_t nSign = n >> 31;  // 0 or -1
        const std::uint32_t magnitude =
            (static_cast<std::uint32_t>(n) ^ static_cast<std::uint32_t>(nSign)) - static_cast<std::uint32_t>(nSign);
        const auto quotient =
            static_cast<std::int32_t>((std::uint64_t{magnitude} * std::uint64_t{m_nMagic}) >> m_nShift);
        const std::int32_t sign = nSign ^ m_nSign;
        return (quotient ^ sign) - sign;
    }

private:
    std::uint32_t m_nMagic = 0;
    int m_nShift = 0;
    std::int32_t m_nSign = 0;
};

}  // namespace lumetra
