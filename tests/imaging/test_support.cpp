#include "tests/imaging/test_support.h"

namespace lumetra::test {

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> MakePacked(const PackedLayout& s) {
    std::vector<std::uint8_t> out;
    Put(out, s.headerSize, 4);
    Put(out, static_cast<std::uint32_t>(s.width), 4);
    Put(out, static_cast<std::uint32_t>(s.height), 4);
    Put(out, 1, 2);
    Put(out, s.bitCount, 2);
    Put(out, s.compression, 4);
    Put(out, 0, 4);  // biSizeImage
    Put(out, static_cast<std::uint32_t>(s.pelsPerMeter), 4);
    Put(out, static_cast<std::uint32_t>(s.pelsPerMeter), 4);
    Put(out, s.clrUsed, 4);
    Put(out, 0, 4);
    for (const RgbQuad& q : s.table) {
        out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved});
    }
    out.insert(out.end(), s.rows.begin(), s.rows.end());
    return out;
}

}  // namespace lumetra::test
