#include "view/kernel_tables.h"

#include <stdexcept>

namespace lumetra {

namespace {

// step 1: kernel point 128 + d; step 2: 128 + 2d, where d = R - c is the
// target's offset from the pixel along one axis.
KernelTable BuildTable(std::span<const std::uint8_t> kernel, int reach, int step) {
    KernelTable table;
    table.nReach = reach;
    table.nSize = 2 * reach + 1;
    table.nStride = kFieldAlign + table.nSize + kFieldBlock;
    table.samples.assign(static_cast<std::size_t>(table.nStride) * table.nSize, 0);
    table.spans.resize(static_cast<std::size_t>(table.nSize));
    for (int r = 0; r < table.nSize; ++r) {
        const int kernelRow = 128 + step * (reach - r);
        KernelTable::RowSpan span{table.nSize, -1};
        for (int c = 0; c < table.nSize; ++c) {
            const int kernelCol = 128 + step * (reach - c);
            const std::uint8_t s = kernel[static_cast<std::size_t>(kernelRow) * kKernelSize + kernelCol];
            table.samples[static_cast<std::size_t>(r) * table.nStride + kFieldAlign + c] = s;
            if (s != 0) {
                if (span.nFirst == table.nSize) span.nFirst = c;
                span.nLast = c;
            }
        }
        table.spans[static_cast<std::size_t>(r)] = span;
    }
    return table;
}

}  // namespace

CKernelTables::CKernelTables(std::span<const std::uint8_t> kernelSamples) {
    if (kernelSamples.size() != static_cast<std::size_t>(kKernelSize) * kKernelSize) {
        throw std::invalid_argument("kernel samples must be 256 x 256");
    }
    m_wide = BuildTable(kernelSamples, kWideReach, 1);
    m_narrow = BuildTable(kernelSamples, kNarrowReach, 2);
}

}  // namespace lumetra
