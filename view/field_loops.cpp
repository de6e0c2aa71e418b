// Built with -O3 (see CMakeLists.txt) so the loops are vectorised.
#include "view/field_loops.h"

// Not on Windows: GCC there cannot align the stack to 32 bytes for spilled
// AVX registers (64-bit Windows only promises 16), which can fault.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__) && !defined(_WIN32)
#define LUMETRA_FIELD_AVX2 1
#else
#define LUMETRA_FIELD_AVX2 0
#endif

namespace lumetra {

namespace {

template <bool kRising>
[[gnu::always_inline]] inline void AddRowBody(const std::uint8_t* __restrict samples, int count, std::int32_t delta,
                                              std::int32_t* __restrict sum, std::int32_t* __restrict extreme) {
    for (int k = 0; k < count; ++k) {
        const std::int32_t w = static_cast<std::int32_t>(samples[k]) * delta;
        sum[k] += w;
        if constexpr (kRising) {
            extreme[k] = extreme[k] < w ? w : extreme[k];
        } else {
            extreme[k] = w < extreme[k] ? w : extreme[k];
        }
    }
}

[[gnu::always_inline]] inline void RampIndexesBody(const std::int32_t* __restrict sum,
                                                   const std::int32_t* __restrict low,
                                                   const std::int32_t* __restrict high, int count,
                                                   const CTruncDivider& span, int indexMask,
                                                   std::uint8_t* __restrict index) {
    const CTruncDivider divider = span;  // a local copy keeps it in registers
    for (int k = 0; k < count; ++k) {
        const std::int32_t quarter = divider.Divide(sum[k]) / 4;
        const std::int32_t v = divider.Divide(quarter + low[k] + high[k]);
        const std::int32_t clamped = v < -128 ? -128 : (v > 127 ? 127 : v);
        index[k] = static_cast<std::uint8_t>((clamped + 128) & indexMask);
    }
}

void AddRisingPortable(const std::uint8_t* samples, int count, std::int32_t delta, std::int32_t* sum,
                       std::int32_t* high) {
    AddRowBody<true>(samples, count, delta, sum, high);
}
void AddFallingPortable(const std::uint8_t* samples, int count, std::int32_t delta, std::int32_t* sum,
                        std::int32_t* low) {
    AddRowBody<false>(samples, count, delta, sum, low);
}
void RampIndexesPortable(const std::int32_t* sum, const std::int32_t* low, const std::int32_t* high, int count,
                         const CTruncDivider& span, int indexMask, std::uint8_t* index) {
    RampIndexesBody(sum, low, high, count, span, indexMask, index);
}

constexpr FieldLoopSet kPortable{AddRisingPortable, AddFallingPortable, RampIndexesPortable, "portable"};

#if LUMETRA_FIELD_AVX2
__attribute__((target("avx2"))) void AddRisingAvx2(const std::uint8_t* samples, int count, std::int32_t delta,
                                                   std::int32_t* sum, std::int32_t* high) {
    AddRowBody<true>(samples, count, delta, sum, high);
}
__attribute__((target("avx2"))) void AddFallingAvx2(const std::uint8_t* samples, int count, std::int32_t delta,
                                                    std::int32_t* sum, std::int32_t* low) {
    AddRowBody<false>(samples, count, delta, sum, low);
}
__attribute__((target("avx2"))) void RampIndexesAvx2(const std::int32_t* sum, const std::int32_t* low,
                                                     const std::int32_t* high, int count, const CTruncDivider& span,
                                                     int indexMask, std::uint8_t* index) {
    RampIndexesBody(sum, low, high, count, span, indexMask, index);
}

constexpr FieldLoopSet kAvx2{AddRisingAvx2, AddFallingAvx2, RampIndexesAvx2, "avx2"};

const FieldLoopSet& DetectLoops() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? kAvx2 : kPortable;
}
#else
const FieldLoopSet& DetectLoops() {
    return kPortable;
}
#endif

}  // namespace

const FieldLoopSet& FieldLoops32() {
    static const FieldLoopSet& loops = DetectLoops();
    return loops;
}

const FieldLoopSet& PortableFieldLoops32() {
    return kPortable;
}

}  // namespace lumetra
