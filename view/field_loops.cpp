// Built with -O3 (see CMakeLists.txt) so the loops are vectorised.
#include "view/field_loops.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

// SSE4.1 brings the 32-bit multiply, minimum and maximum that the baseline
// SSE2 lacks. AVX2 not on Windows: GCC there cannot align the stack to 32
// bytes for spilled AVX registers (64-bit Windows only promises 16), which can
// fault.
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#define LUMETRA_FIELD_SSE41 1
#else
#define LUMETRA_FIELD_SSE41 0
#endif
#if LUMETRA_FIELD_SSE41 && !defined(_WIN32)
#define LUMETRA_FIELD_AVX2 1
#include <immintrin.h>
#else
#define LUMETRA_FIELD_AVX2 0
#endif

namespace lumetra {

namespace {

// count is a whole number of blocks, so the vector code needs no tail.
template <bool kRising>
[[gnu::always_inline]] inline void AddRowBody(const std::uint8_t* __restrict samples, int count, std::int32_t delta,
                                              std::int32_t* __restrict sum, std::int32_t* __restrict extreme) {
    for (int block = 0; block < count; block += kFieldBlock) {
        for (int k = block; k < block + kFieldBlock; ++k) {
            const std::int32_t w = static_cast<std::int32_t>(samples[k]) * delta;
            sum[k] += w;
            if constexpr (kRising) {
                extreme[k] = extreme[k] < w ? w : extreme[k];
            } else {
                extreme[k] = w < extreme[k] ? w : extreme[k];
            }
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

// Every job of a row, with AddRowBody inlined into the caller, so that each
// instruction-set build below vectorises it for itself.
[[gnu::always_inline]] inline void AddRowJobsBody(const RowJob32* jobs, int jobCount, std::int32_t* sum,
                                                  std::int32_t* low, std::int32_t* high) {
    for (int j = 0; j < jobCount; ++j) {
        const RowJob32& job = jobs[j];
        if (job.delta > 0) {
            AddRowBody<true>(job.samples, job.count, job.delta, sum + job.column, high + job.column);
        } else {
            AddRowBody<false>(job.samples, job.count, job.delta, sum + job.column, low + job.column);
        }
    }
}

void AddRowJobsPortable(const RowJob32* jobs, int jobCount, std::int32_t* sum, std::int32_t* low, std::int32_t* high) {
    AddRowJobsBody(jobs, jobCount, sum, low, high);
}

void RampIndexesPortable(const std::int32_t* sum, const std::int32_t* low, const std::int32_t* high, int count,
                         const CTruncDivider& span, int indexMask, std::uint8_t* index) {
    RampIndexesBody(sum, low, high, count, span, indexMask, index);
}

constexpr FieldLoopSet kPortable{AddRowJobsPortable, RampIndexesPortable, "portable"};

#if LUMETRA_FIELD_SSE41
__attribute__((target("sse4.1"))) void AddRowJobsSse41(const RowJob32* jobs, int jobCount, std::int32_t* sum,
                                                       std::int32_t* low, std::int32_t* high) {
    AddRowJobsBody(jobs, jobCount, sum, low, high);
}

__attribute__((target("sse4.1"))) void RampIndexesSse41(const std::int32_t* sum, const std::int32_t* low,
                                                        const std::int32_t* high, int count, const CTruncDivider& span,
                                                        int indexMask, std::uint8_t* index) {
    RampIndexesBody(sum, low, high, count, span, indexMask, index);
}

constexpr FieldLoopSet kSse41{AddRowJobsSse41, RampIndexesSse41, "sse4.1"};
#endif

#if LUMETRA_FIELD_AVX2
// Eight pixels a step: widen eight samples, multiply, add to the sum and take
// the larger (or smaller) weight. The same integers as AddRowBody.
template <bool kRising>
__attribute__((target("avx2"), always_inline)) inline void AddRowAvx2(const std::uint8_t* samples, int count,
                                                                      std::int32_t delta, std::int32_t* sum,
                                                                      std::int32_t* extreme) {
    const __m256i factor = _mm256_set1_epi32(delta);
    for (int k = 0; k < count; k += 8) {
        std::int64_t eight = 0;
        std::memcpy(&eight, samples + k, sizeof eight);
        const __m256i w = _mm256_mullo_epi32(_mm256_cvtepu8_epi32(_mm_cvtsi64_si128(eight)), factor);
        auto* sumAt = reinterpret_cast<__m256i*>(sum + k);          // NOLINT: unaligned vector access
        auto* extremeAt = reinterpret_cast<__m256i*>(extreme + k);  // NOLINT: unaligned vector access
        _mm256_storeu_si256(sumAt, _mm256_add_epi32(_mm256_loadu_si256(sumAt), w));
        const __m256i old = _mm256_loadu_si256(extremeAt);
        _mm256_storeu_si256(extremeAt, kRising ? _mm256_max_epi32(old, w) : _mm256_min_epi32(old, w));
    }
}

__attribute__((target("avx2"))) void AddRowJobsAvx2(const RowJob32* jobs, int jobCount, std::int32_t* sum,
                                                    std::int32_t* low, std::int32_t* high) {
    for (int j = 0; j < jobCount; ++j) {
        const RowJob32& job = jobs[j];
        if (job.delta > 0) {
            AddRowAvx2<true>(job.samples, job.count, job.delta, sum + job.column, high + job.column);
        } else {
            AddRowAvx2<false>(job.samples, job.count, job.delta, sum + job.column, low + job.column);
        }
    }
}

__attribute__((target("avx2"))) void RampIndexesAvx2(const std::int32_t* sum, const std::int32_t* low,
                                                     const std::int32_t* high, int count, const CTruncDivider& span,
                                                     int indexMask, std::uint8_t* index) {
    RampIndexesBody(sum, low, high, count, span, indexMask, index);
}

constexpr FieldLoopSet kAvx2{AddRowJobsAvx2, RampIndexesAvx2, "avx2"};

#endif

const FieldLoopSet& DetectLoops() {
#if LUMETRA_FIELD_SSE41
    __builtin_cpu_init();
#endif
#if LUMETRA_FIELD_AVX2
    if (__builtin_cpu_supports("avx2")) return kAvx2;
#endif
#if LUMETRA_FIELD_SSE41
    if (__builtin_cpu_supports("sse4.1")) return kSse41;
#endif
    return kPortable;
}

}  // namespace

const FieldLoopSet& FieldLoops32() {
    static const FieldLoopSet& loops = DetectLoops();
    return loops;
}

const FieldLoopSet& PortableFieldLoops32() {
    return kPortable;
}

std::vector<const FieldLoopSet*> AvailableFieldLoops32() {
    std::vector<const FieldLoopSet*> sets{&kPortable};
#if LUMETRA_FIELD_SSE41
    __builtin_cpu_init();
    if (__builtin_cpu_supports("sse4.1")) sets.push_back(&kSse41);
#endif
#if LUMETRA_FIELD_AVX2
    if (__builtin_cpu_supports("avx2")) sets.push_back(&kAvx2);
#endif
    return sets;
}

}  // namespace lumetra
