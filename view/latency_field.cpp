#include "view/latency_field.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace lumetra {

namespace {

// Adds one row of a target's weights w = s * delta. A target's weights all
// have the sign of its delta, so only one of wmin and wmax can move; samples
// of 0 give w = 0, which changes neither the sum nor the extremes.
template <class Sum, class Ext>
void AddWideRow(const std::uint8_t* samples, int count, Ext delta, Sum* sum, Ext* extreme) {
    for (int k = 0; k < count; ++k) {
        const Ext w = static_cast<Ext>(samples[k]) * delta;
        sum[k] += w;
        extreme[k] = delta > 0 ? std::max(extreme[k], w) : std::min(extreme[k], w);
    }
}

void AddSource(const FieldLoopSet& loops, const SourceRun32& run) {
    loops.addSource(run);
}

template <class Sum, class Ext>
void AddSource(const FieldLoopSet&, const SourceRun<Sum, Ext>& run) {
    ForEachRowRun(run, [&run](const std::uint8_t* samples, int count, Sum* sum, Ext* extreme) {
        AddWideRow(samples, count, run.delta, sum, extreme);
    });
}

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
        case FieldWidth::Bits32: PaintBands(m_planes32, range, indexMask, rows); break;
        case FieldWidth::Bits64: PaintBands(m_planes64, range, indexMask, rows); break;
        case FieldWidth::Bits128: PaintBands(m_planes128, range, indexMask, rows); break;
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
void CLatencyField::PaintBands(Planes<Sum, Ext>& planes, const ValueRange& range, int indexMask,
                               const FrameRows& rows) {
    planes.sum.Ensure(kBandPixels);
    planes.low.Ensure(kBandPixels);
    planes.high.Ensure(kBandPixels);
    for (int bandTop = 0; bandTop < kFrameHeight; bandTop += kBandRows) {
        const int bandEnd = std::min(kFrameHeight, bandTop + kBandRows);
        const Touched touched = AccumulateBand(planes, bandTop, bandEnd);
        FinishBand(planes, bandTop, bandEnd, touched, range, indexMask, rows);
    }
}

template <class Sum, class Ext>
CLatencyField::Touched CLatencyField::AccumulateBand(Planes<Sum, Ext>& planes, int bandTop, int bandEnd) {
    Touched touched;
    for (const Source& source : m_sources) {
        const int top = std::max(source.nTop, bandTop);
        const int bottom = std::min(source.nBottom, bandEnd - 1);
        if (top > bottom) continue;
        touched.nTop = std::min(touched.nTop, top);
        touched.nBottom = std::max(touched.nBottom, bottom);
        touched.nLeft = std::min(touched.nLeft, source.nLeft);
        touched.nRight = std::max(touched.nRight, source.nRight);
        // A row's run starts at most an alignment step before the window and
        // ends at most a block short of one past it.
        const int planeLeft = kPlaneLeft + source.nLeft;
        touched.nWrittenFirst = std::min(touched.nWrittenFirst, planeLeft - planeLeft % kFieldAlign);
        touched.nWrittenLast = std::max(touched.nWrittenLast, kPlaneLeft + source.nRight + kFieldBlock - 1);
        const KernelTable& table = *source.pTable;
        const int firstRow = source.nRow + (top - source.nTop);
        const std::size_t p = static_cast<std::size_t>(top - bandTop) * kPlaneStride;
        const SourceRun<Sum, Ext> run{table.Row(firstRow), &table.spans[static_cast<std::size_t>(firstRow)],
                                      table.nStride,       bottom - top + 1,
                                      source.nCol,         source.nCol + (source.nRight - source.nLeft),
                                      planeLeft,           static_cast<Ext>(source.nDelta),
                                      &planes.sum[p],      &planes.low[p],
                                      &planes.high[p],     kPlaneStride};
        AddSource(m_loops, run);
    }
    return touched;
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

// Writes every pixel of the band's rows and leaves the planes zeroed.
template <class Sum, class Ext>
void CLatencyField::FinishBand(Planes<Sum, Ext>& planes, int bandTop, int bandEnd, const Touched& touched,
                               const ValueRange& range, int indexMask, const FrameRows& rows) {
    for (int y = bandTop; y < bandEnd; ++y) {
        std::uint8_t* row = rows[static_cast<std::size_t>(y)];
        if (y < touched.nTop || y > touched.nBottom) {
            WriteRow(row, kFrameWidth, -1);
            continue;
        }
        const std::size_t rowStart = static_cast<std::size_t>(y - bandTop) * kPlaneStride;
        RowIndexes(planes, rowStart + static_cast<std::size_t>(kPlaneLeft + touched.nLeft),
                   touched.nRight - touched.nLeft + 1, range, indexMask);
        WriteRow(row, touched.nLeft, touched.nRight);
        const std::size_t written = rowStart + static_cast<std::size_t>(touched.nWrittenFirst);
        const int count = touched.nWrittenLast - touched.nWrittenFirst + 1;
        std::fill_n(&planes.sum[written], count, Sum{0});
        std::fill_n(&planes.low[written], count, Ext{0});
        std::fill_n(&planes.high[written], count, Ext{0});
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
