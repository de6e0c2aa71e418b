#include "view/latency_field.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace lumetra {

namespace {

bool FitsDivider(std::int64_t span) {
    return span > INT32_MIN && span <= INT32_MAX;
}

}  // namespace

template <class T>
void CLatencyField::CPlane<T>::Ensure(std::size_t count) {
    if (!m_storage.empty()) return;
    constexpr std::size_t kBytes = kFieldAlign * sizeof(std::int32_t);  // 32: one AVX2 vector
    m_storage.assign(count + kBytes / sizeof(T), T{0});
    const auto address = reinterpret_cast<std::uintptr_t>(m_storage.data());
    m_nOffset = (kBytes - address % kBytes) % kBytes / sizeof(T);
}

CLatencyField::CLatencyField(std::span<const std::uint8_t> kernelSamples, const FieldLoopSet& loops)
    : m_tables(kernelSamples), m_loops(loops) {}

FieldWidth CLatencyField::Paint(const TargetList& targets, std::string_view region, const SaverSettings& settings,
                                const ValueRange& range, const RampColors& ramp, const FrameRows& rows,
                                FieldWidth atLeast) {
    const std::uint64_t maxAbsDelta = CollectSources(targets, region, settings, range);
    FieldWidth width = std::max(ChooseWidth(maxAbsDelta), atLeast);
    if (width == FieldWidth::Bits32 && !FitsDivider(range.nSpan)) width = FieldWidth::Bits64;
    const bool smooth = settings.m_bSmoothColor != 0;
    PrepareColors(ramp, smooth);
    const int indexMask = smooth ? 0xFF : 0xE0;
    switch (width) {
        case FieldWidth::Bits32: PaintRows(m_planes32, m_jobs32, range, indexMask, rows); break;
        case FieldWidth::Bits64: PaintRows(m_planes64, m_jobs64, range, indexMask, rows); break;
        case FieldWidth::Bits128: PaintRows(m_planes128, m_jobs64, range, indexMask, rows); break;
    }
    return width;
}

std::uint64_t CLatencyField::CollectSources(const TargetList& targets, std::string_view region,
                                            const SaverSettings& settings, const ValueRange& range) {
    m_sources.clear();
    std::uint64_t maxAbsDelta = 0;
    for (const auto& target : targets) {
        if (!IsOfRegion(*target, region)) continue;
        const std::optional<int> r = FieldRoundTrip(*target, settings.m_nPingTimeout);
        if (!r) continue;
        const std::int64_t delta = std::int64_t{*r} - range.nMid;
        if (delta == 0) continue;  // every weight 0: no pixel changes
        const KernelTable& table = CKernelTables::IsWideType(target->m_nType) ? m_tables.Wide() : m_tables.Narrow();
        // In 64 bits: positions may be anywhere in int.
        const std::int64_t originX = std::int64_t{target->m_nX} - table.nReach;
        const std::int64_t originY = std::int64_t{target->m_nY} - table.nReach;
        const std::int64_t left = std::max<std::int64_t>(0, originX);
        const std::int64_t right = std::min<std::int64_t>(kFrameWidth - 1, originX + table.nSize - 1);
        const std::int64_t top = std::max<std::int64_t>(0, originY);
        const std::int64_t bottom = std::min<std::int64_t>(kFrameHeight - 1, originY + table.nSize - 1);
        if (left > right || top > bottom) continue;
        m_sources.push_back(Source{&table, delta, static_cast<int>(left), static_cast<int>(top),
                                   static_cast<int>(right), static_cast<int>(bottom), static_cast<int>(left - originX),
                                   static_cast<int>(top - originY)});
        maxAbsDelta = std::max(maxAbsDelta, static_cast<std::uint64_t>(delta < 0 ? -delta : delta));
    }
    return maxAbsDelta;
}

// Every |w| is at most 255 |delta|, so with n sources |sum| <= n * maxW, and
// |sum / S / 4 + wmin + wmax| <= (n + 1) * maxW. A width is safe when that
// bound fits it.
FieldWidth CLatencyField::ChooseWidth(std::uint64_t maxAbsDelta) const {
    const std::uint64_t maxWeight = 255 * maxAbsDelta;  // below 2^41
    if (maxWeight == 0) return FieldWidth::Bits32;
    const std::uint64_t terms = static_cast<std::uint64_t>(m_sources.size()) + 1;
    if (terms <= static_cast<std::uint64_t>(INT32_MAX) / maxWeight) return FieldWidth::Bits32;
    if (terms <= static_cast<std::uint64_t>(INT64_MAX) / maxWeight) return FieldWidth::Bits64;
    return FieldWidth::Bits128;
}

void CLatencyField::PrepareColors(const RampColors& ramp, bool smooth) {
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const std::array<std::uint8_t, 4> bytes{ramp[i][0], ramp[i][1], ramp[i][2], 0};
        std::memcpy(&m_rampWords[i], bytes.data(), bytes.size());
    }
    const std::array<std::uint8_t, 3>& unreached = ramp[static_cast<std::size_t>(RampIndex(0, smooth))];
    for (std::size_t k = 0; k < m_unreachedRow.size(); k += 3) std::memcpy(&m_unreachedRow[k], unreached.data(), 3);
}

template <class Sum, class Ext>
void CLatencyField::PaintRows(Planes<Sum, Ext>& planes, std::vector<RowJob<Ext>>& jobs, const ValueRange& range,
                              int indexMask, const FrameRows& rows) {
    planes.sum.Ensure(kPlaneStride);
    planes.low.Ensure(kPlaneStride);
    planes.high.Ensure(kPlaneStride);
    for (int bandTop = 0; bandTop < kFrameHeight; bandTop += kBandRows) {
        const int bandEnd = std::min(kFrameHeight, bandTop + kBandRows);
        m_bandSources.clear();
        for (const Source& source : m_sources) {
            if (source.nTop < bandEnd && source.nBottom >= bandTop) m_bandSources.push_back(&source);
        }
        for (int y = bandTop; y < bandEnd; ++y) {
            std::uint8_t* row = rows[static_cast<std::size_t>(y)];
            const RowReach reach = RowJobsOf(y, jobs);
            if (jobs.empty()) {
                WriteRow(row, kFrameWidth, -1);
                continue;
            }
            AddJobs(jobs, planes);
            const int firstColumn = kPlaneLeft + reach.nLeft;
            RowIndexes(planes, static_cast<std::size_t>(firstColumn), reach.nRight - reach.nLeft + 1, range, indexMask);
            WriteRow(row, reach.nLeft, reach.nRight);
            const auto written = static_cast<std::size_t>(reach.nWrittenFirst);
            const int count = reach.nWrittenLast - reach.nWrittenFirst + 1;
            std::fill_n(&planes.sum[written], count, Sum{0});
            std::fill_n(&planes.low[written], count, Ext{0});
            std::fill_n(&planes.high[written], count, Ext{0});
        }
    }
}

// The runs of the sources that reach row y: each starts at an aligned plane
// column (at most kFieldAlign - 1 before its first pixel) and covers whole
// blocks (at most kFieldBlock - 1 past its last pixel).
template <class Ext>
CLatencyField::RowReach CLatencyField::RowJobsOf(int y, std::vector<RowJob<Ext>>& jobs) const {
    jobs.clear();
    RowReach reach;
    for (const Source* source : m_bandSources) {
        if (y < source->nTop || y > source->nBottom) continue;
        const KernelTable& table = *source->pTable;
        const int r = source->nRow + (y - source->nTop);
        const KernelTable::RowSpan span = table.spans[static_cast<std::size_t>(r)];
        const int first = std::max(source->nCol, span.nFirst);
        const int last = std::min(source->nCol + (source->nRight - source->nLeft), span.nLast);
        if (first > last) continue;
        const int x = source->nLeft + (first - source->nCol);
        const int column = kPlaneLeft + x;
        const int back = column % kFieldAlign;
        const int count = (last - first + back + kFieldBlock) / kFieldBlock * kFieldBlock;
        jobs.push_back(
            RowJob<Ext>{table.Row(r) + (first - back), static_cast<Ext>(source->nDelta), column - back, count});
        reach.nLeft = std::min(reach.nLeft, x);
        reach.nRight = std::max(reach.nRight, x + (last - first));
        reach.nWrittenFirst = std::min(reach.nWrittenFirst, column - back);
        reach.nWrittenLast = std::max(reach.nWrittenLast, column - back + count - 1);
    }
    return reach;
}

void CLatencyField::AddJobs(const std::vector<RowJob32>& jobs, Planes<std::int32_t, std::int32_t>& planes) const {
    m_loops.addRowJobs(jobs.data(), static_cast<int>(jobs.size()), planes.sum.Data(), planes.low.Data(),
                       planes.high.Data());
}

template <class Sum, class Ext>
void CLatencyField::AddJobs(const std::vector<RowJob<Ext>>& jobs, Planes<Sum, Ext>& planes) const {
    AddRowJobs(jobs.data(), static_cast<int>(jobs.size()), planes.sum.Data(), planes.low.Data(), planes.high.Data());
}

void CLatencyField::RowIndexes(const Planes<std::int32_t, std::int32_t>& planes, std::size_t first, int count,
                               const ValueRange& range, int indexMask) {
    const CTruncDivider span(static_cast<std::int32_t>(range.nSpan));
    m_loops.rampIndexes(&planes.sum[first], &planes.low[first], &planes.high[first], count, span, indexMask,
                        m_indexRow.data());
}

template <class Sum, class Ext>
void CLatencyField::RowIndexes(const Planes<Sum, Ext>& planes, std::size_t first, int count, const ValueRange& range,
                               int indexMask) {
    const Sum span = static_cast<Sum>(range.nSpan);
    for (int k = 0; k < count; ++k) {
        const std::size_t p = first + static_cast<std::size_t>(k);
        const int value = FieldValue<Sum>(planes.sum[p], planes.low[p], planes.high[p], span);
        m_indexRow[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>((value + 128) & indexMask);
    }
}

// Pixels first..last take their entries from m_indexRow, the rest entry 128.
void CLatencyField::WriteRow(std::uint8_t* row, int first, int last) const {
    if (first > last) {
        std::memcpy(row, m_unreachedRow.data(), m_unreachedRow.size());
        return;
    }
    std::memcpy(row, m_unreachedRow.data(), static_cast<std::size_t>(first) * 3);
    std::memcpy(row + static_cast<std::size_t>(last + 1) * 3, m_unreachedRow.data(),
                static_cast<std::size_t>(kFrameWidth - 1 - last) * 3);
    std::uint8_t* pixel = row + static_cast<std::size_t>(first) * 3;
    const int count = last - first + 1;
    // Four-byte stores; each spare byte lands on the next pixel, which is
    // written after it. The last pixel gets exactly three.
    for (int k = 0; k + 1 < count; ++k, pixel += 3) {
        std::memcpy(pixel, &m_rampWords[m_indexRow[static_cast<std::size_t>(k)]], 4);
    }
    std::memcpy(pixel, &m_rampWords[m_indexRow[static_cast<std::size_t>(count - 1)]], 3);
}

}  // namespace lumetra
