// The kernel samples as the two reaches read them, laid out so that a target
// walks its rows and columns forwards over contiguous bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lumetra {

inline constexpr int kKernelSize = 256;

// The field adds whole blocks of this many pixels, starting at a multiple of
// kFieldAlign in its planes. Every table row has kFieldAlign zero samples
// before it and kFieldBlock after it, so a run moved back to an aligned start
// and rounded up to whole blocks adds nothing more.
inline constexpr int kFieldBlock = 16;
inline constexpr int kFieldAlign = 8;

// One layout: sample (c, r) belongs to the pixel (X - R + c, Y - R + r) of a
// target at (X, Y) with reach R, for c and r in 0..2R.
struct KernelTable {
    struct RowSpan {
        int nFirst;  // first non-zero column, or nSize when the row is all 0
        int nLast;   // last non-zero column, or -1
    };
    int nReach = 0;
    int nSize = 0;    // 2 * nReach + 1
    int nStride = 0;  // kFieldAlign + nSize + kFieldBlock: the row and its zero margins
    std::vector<std::uint8_t> samples;
    std::vector<RowSpan> spans;

    // Column 0 of row r; columns -kFieldAlign to nSize + kFieldBlock - 1 exist.
    const std::uint8_t* Row(int r) const {
        return samples.data() + static_cast<std::size_t>(r) * nStride + kFieldAlign;
    }
};

class CKernelTables {
public:
    static constexpr int kWideReach = 127;   // types 3 and 4
    static constexpr int kNarrowReach = 63;  // every other type

    // kernelSamples: 256 x 256 bytes, row by row from the top, the first
    // (blue) byte of each kernel pixel.
    explicit CKernelTables(std::span<const std::uint8_t> kernelSamples);

    const KernelTable& Wide() const { return m_wide; }
    const KernelTable& Narrow() const { return m_narrow; }
    static bool IsWideType(int type) { return type == 3 || type == 4; }

private:
    KernelTable m_wide;
    KernelTable m_narrow;
};

}  // namespace lumetra
