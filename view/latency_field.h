// The colour layer of the frame. Row by row, each target within reach of the
// row adds its weights to the row's pixels under it, into sum, minimum and
// maximum planes that this object keeps between renders; then every pixel of
// the row gets its ramp entry. Sum, minimum and maximum do not depend on the
// order of the targets, so this gives exactly the colours of the
// pixel-by-pixel definition.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "settings/saver_settings.h"
#include "targets/ping_target.h"
#include "view/field_loops.h"
#include "view/field_value.h"
#include "view/frame_size.h"
#include "view/kernel_tables.h"
#include "view/value_range.h"

namespace lumetra {

// The three bytes of each ramp entry as stored (blue, green, red).
using RampColors = std::array<std::array<std::uint8_t, 3>, kRampEntries>;
// The first byte of each frame row, top row first; rows hold 3 bytes a pixel.
using FrameRows = std::array<std::uint8_t*, kFrameHeight>;

// The integer width of the planes in one render. Paint takes the narrowest
// width that cannot overflow for the targets at hand, but never less than the
// caller asks for (tests use that to run the wide paths on small inputs).
enum class FieldWidth { Bits32, Bits64, Bits128 };

class CLatencyField {
public:
    // loops: the 32-bit loops to run; the default picks them for this processor.
    explicit CLatencyField(std::span<const std::uint8_t> kernelSamples, const FieldLoopSet& loops = FieldLoops32());

    // Colours every pixel of the frame. Returns the width that was used.
    FieldWidth Paint(const TargetList& targets, std::string_view region, const SaverSettings& settings,
                     const ValueRange& range, const RampColors& ramp, const FrameRows& rows,
                     FieldWidth atLeast = FieldWidth::Bits32);

private:
    // A target that adds weights: its window clipped to the frame.
    struct Source {
        const KernelTable* pTable;
        std::int64_t nDelta;  // r - M, never 0
        int nLeft, nTop, nRight, nBottom;
        int nCol, nRow;  // table column and row of (nLeft, nTop)
    };
    // One plane of a row, its first element aligned for vector access.
    template <class T>
    class CPlane {
    public:
        void Ensure(std::size_t count);
        T* Data() { return m_storage.data() + m_nOffset; }
        T& operator[](std::size_t i) { return m_storage[m_nOffset + i]; }
        const T& operator[](std::size_t i) const { return m_storage[m_nOffset + i]; }

    private:
        std::vector<T> m_storage;
        std::size_t m_nOffset = 0;
    };
    template <class Sum, class Ext>
    struct Planes {
        CPlane<Sum> sum;
        CPlane<Ext> low;   // wmin, 0 or below
        CPlane<Ext> high;  // wmax, 0 or above
    };

    // The planes hold one frame row, so every target that reaches the row
    // adds to it while it stays in the processor's nearest cache. Pixel x is
    // plane column kPlaneLeft + x; the margins on both sides take what the
    // aligned, rounded runs write beside the frame, and are never read.
    static constexpr int kPlaneLeft = kFieldAlign;
    static constexpr int kPlaneStride =
        (kPlaneLeft + kFrameWidth + kFieldBlock + kFieldAlign - 1) / kFieldAlign * kFieldAlign;
    // The targets are sorted into bands of rows first, so that each row looks
    // only at the targets near it.
    static constexpr int kBandRows = 16;

    // The pixels that a row's jobs reach and the plane columns they write.
    struct RowReach {
        int nLeft = kFrameWidth;
        int nRight = -1;
        int nWrittenFirst = kPlaneStride;
        int nWrittenLast = -1;
    };

    std::uint64_t CollectSources(const TargetList& targets, std::string_view region, const SaverSettings& settings,
                                 const ValueRange& range);
    FieldWidth ChooseWidth(std::uint64_t maxAbsDelta) const;
    void PrepareColors(const RampColors& ramp, bool smooth);
    template <class Sum, class Ext>
    void PaintRows(Planes<Sum, Ext>& planes, std::vector<RowJob<Ext>>& jobs, const ValueRange& range, int indexMask,
                   const FrameRows& rows);
    template <class Ext>
    RowReach RowJobsOf(int y, std::vector<RowJob<Ext>>& jobs) const;
    void AddJobs(const std::vector<RowJob32>& jobs, Planes<std::int32_t, std::int32_t>& planes) const;
    template <class Sum, class Ext>
    void AddJobs(const std::vector<RowJob<Ext>>& jobs, Planes<Sum, Ext>& planes) const;
    void RowIndexes(const Planes<std::int32_t, std::int32_t>& planes, std::size_t first, int count,
                    const ValueRange& range, int indexMask);
    template <class Sum, class Ext>
    void RowIndexes(const Planes<Sum, Ext>& planes, std::size_t first, int count, const ValueRange& range,
                    int indexMask);
    void WriteRow(std::uint8_t* row, int first, int last) const;

    CKernelTables m_tables;
    const FieldLoopSet& m_loops;
    std::vector<Source> m_sources;
    std::vector<const Source*> m_bandSources;  // the sources reaching the current band
    std::vector<RowJob32> m_jobs32;
    std::vector<RowJob<std::int64_t>> m_jobs64;
    std::array<std::uint8_t, kFrameWidth> m_indexRow{};          // ramp entries of one row's touched pixels
    std::array<std::uint32_t, kRampEntries> m_rampWords{};       // ramp bytes padded to 4 for one-store copies
    std::array<std::uint8_t, kFrameWidth * 3> m_unreachedRow{};  // a row of the colour of entry 128
    Planes<std::int32_t, std::int32_t> m_planes32;
    Planes<std::int64_t, std::int64_t> m_planes64;
    Planes<Int128, std::int64_t> m_planes128;
};

}  // namespace lumetra
