// The two hot loops of the field in 32-bit planes, built for the baseline
// instruction set and, on x86-64, once more for AVX2; FieldLoops32() picks the
// set the processor can run. Both sets compute the same integers.
#pragma once

#include <cstdint>

#include "view/trunc_divider.h"

namespace lumetra {

struct FieldLoopSet {
    // sum[k] += s[k] * delta and high[k] = max(high[k], s[k] * delta), for a
    // target with delta > 0.
    void (*addRising)(const std::uint8_t* samples, int count, std::int32_t delta, std::int32_t* sum,
                      std::int32_t* high);
    // The same with low[k] = min(low[k], s[k] * delta), for delta < 0.
    void (*addFalling)(const std::uint8_t* samples, int count, std::int32_t delta, std::int32_t* sum,
                       std::int32_t* low);
    // index[k] = ramp entry of the pixel, masked with indexMask (0xFF or 0xE0).
    void (*rampIndexes)(const std::int32_t* sum, const std::int32_t* low, const std::int32_t* high, int count,
                        const CTruncDivider& span, int indexMask, std::uint8_t* index);
    const char* name;
};

const FieldLoopSet& FieldLoops32();
const FieldLoopSet& PortableFieldLoops32();

}  // namespace lumetra
