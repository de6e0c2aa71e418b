// The hot loops of the field. A target adds its weights w = s * delta to the
// pixels of one band of rows as a SourceRun; the 32-bit planes have loops built
// for the baseline instruction set and, on x86-64 outside Windows, once more
// for AVX2. FieldLoops32() picks the set the processor can run; every set
// computes the same integers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "view/kernel_tables.h"
#include "view/trunc_divider.h"

namespace lumetra {

// One target's rows within a band: table rows and plane rows side by side.
template <class Sum, class Ext>
struct SourceRun {
    const std::uint8_t* samples;        // the first table row, at column 0
    const KernelTable::RowSpan* spans;  // the spans of the table rows, from the first
    int tableStride;
    int rows;
    int firstCol;  // the table column of plane column planeCol
    int lastCol;   // the last table column inside the frame
    int planeCol;
    Ext delta;  // r - M, never 0
    Sum* sum;   // the planes' first row, at column 0 (aligned to kFieldAlign)
    Ext* low;
    Ext* high;
    int planeStride;  // a multiple of kFieldAlign
};

// One row's run: where it starts in the table and in the plane row, and how
// many samples it adds. The start moves back to an aligned plane column and
// the count rounds up to whole blocks; the table's samples outside the span
// are 0 and add nothing, and samples of pixels outside the frame land in the
// planes' margins, which are never read.
struct RowRun {
    int tableColumn;
    int planeColumn;
    int count;
};

template <class Sum, class Ext>
inline bool FindRowRun(const SourceRun<Sum, Ext>& run, int r, RowRun& rowRun) {
    const KernelTable::RowSpan span = run.spans[r];
    const int first = std::max(run.firstCol, span.nFirst);
    const int last = std::min(run.lastCol, span.nLast);
    if (first > last) return false;
    const int planeColumn = run.planeCol + (first - run.firstCol);
    const int back = planeColumn % kFieldAlign;
    rowRun.tableColumn = first - back;
    rowRun.planeColumn = planeColumn - back;
    rowRun.count = (last - first + back + kFieldBlock) / kFieldBlock * kFieldBlock;
    return true;
}

// addRow(samples, count, sum, extreme) for every row of the run.
template <class Sum, class Ext, class AddRow>
inline void ForEachRowRun(const SourceRun<Sum, Ext>& run, AddRow addRow) {
    Ext* extreme = run.delta > 0 ? run.high : run.low;
    RowRun rowRun{};
    for (int r = 0; r < run.rows; ++r) {
        if (!FindRowRun(run, r, rowRun)) continue;
        const std::size_t plane = static_cast<std::size_t>(r) * static_cast<std::size_t>(run.planeStride) +
                                  static_cast<std::size_t>(rowRun.planeColumn);
        addRow(run.samples + static_cast<std::ptrdiff_t>(r) * run.tableStride + rowRun.tableColumn, rowRun.count,
               run.sum + plane, extreme + plane);
    }
}

using SourceRun32 = SourceRun<std::int32_t, std::int32_t>;

struct FieldLoopSet {
    // Adds one target's weights to the sum and to wmax (delta > 0) or wmin.
    void (*addSource)(const SourceRun32& run);
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
