// The hot loops of the field. For one frame row, every target reaching it
// adds its weights w = s * delta to the row's planes (a RowJob each); then
// each pixel's ramp entry is computed.
//
//   s          a kernel sample, 0 to 255
//   delta      a target's r - M (field_value.h), the same for all its samples
//   w          s * delta, one weight
//   sum        plane of the sum of the weights at each pixel
//   low/high   planes of wmin and wmax: the most negative and most positive
//              weight at each pixel, both starting at 0
//
// The 32-bit planes have loops built for the baseline instruction set, for
// SSE4.1 and, on x86-64 outside Windows, for AVX2; FieldLoops32() picks the
// fastest the processor runs. Every set computes the same integers.
#pragma once

#include <cstdint>
#include <vector>

#include "view/kernel_tables.h"
#include "view/trunc_divider.h"

namespace lumetra {

// One target's run of samples over one plane row. It starts at a plane column
// that is a multiple of kFieldAlign and covers whole blocks of kFieldBlock:
// the kernel tables' samples beside a row's span are 0 and add nothing, and
// samples of pixels beside the frame land in the planes' margins, which are
// never read.
template <class Ext>
struct RowJob {
    const std::uint8_t* samples;  // the sample of plane column `column`
    Ext delta;                    // r - M, never 0: wmax moves when above 0, else wmin
    int column;
    int count;
};

// sum[c] += w for every job, and high[c] = max(high[c], w) for a positive
// delta or low[c] = min(low[c], w) for a negative one.
template <class Sum, class Ext>
inline void AddRowJobs(const RowJob<Ext>* jobs, int jobCount, Sum* sum, Ext* low, Ext* high) {
    for (int j = 0; j < jobCount; ++j) {
        const RowJob<Ext>& job = jobs[j];
        Ext* extreme = job.delta > 0 ? high : low;
        for (int k = job.column; k < job.column + job.count; ++k) {
            const Ext w = static_cast<Ext>(job.samples[k - job.column]) * job.delta;
            sum[k] += w;
            extreme[k] = job.delta > 0 ? (extreme[k] < w ? w : extreme[k]) : (w < extreme[k] ? w : extreme[k]);
        }
    }
}

using RowJob32 = RowJob<std::int32_t>;

struct FieldLoopSet {
    // AddRowJobs on 32-bit planes (aligned to kFieldAlign).
    void (*addRowJobs)(const RowJob32* jobs, int jobCount, std::int32_t* sum, std::int32_t* low, std::int32_t* high);
    // index[k] = the ramp entry of pixel k, masked with indexMask (0xFF or 0xE0).
    void (*rampIndexes)(const std::int32_t* sum, const std::int32_t* low, const std::int32_t* high, int count,
                        const CTruncDivider& span, int indexMask, std::uint8_t* index);
    const char* name;
};

// The fastest set this processor runs; the baseline set; every set it runs.
const FieldLoopSet& FieldLoops32();
const FieldLoopSet& PortableFieldLoops32();
std::vector<const FieldLoopSet*> AvailableFieldLoops32();

}  // namespace lumetra
