// Which pixels of the map are land: the white pixels of the map outline, the
// same pixels that the resource generator drew as land (state borders and
// everything outside the lower 48 are black).
#pragma once

#include <cstdint>
#include <vector>

namespace lumetra {

class CDib;

class CLandMask {
public:
    // The land of an outline image. ResourceException unless the image is
    // as large as the map that the projection was fitted to.
    explicit CLandMask(const CDib& outline);

    // The land of the program's map outline (bitmap resource
    // IDB_MAP_OUTLINE), read on first use. ResourceException when the
    // program has no such resource or a broken one.
    static const CLandMask& Outline();

    // False outside the map.
    bool IsLand(int x, int y) const;

private:
    std::vector<std::uint8_t> m_land;  // 1 for land, row by row from the top
};

}  // namespace lumetra
