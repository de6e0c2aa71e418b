#include "view/frame_motion.h"

#include <algorithm>
#include <cstdint>

namespace lumetra {
namespace {

// Every sum is taken in 64 bits: MapMotion comes from a file unchecked and
// may be near the int limits.
using Wide = std::int64_t;

int DrawBelow(Wide divisor, IRandomSource& random) {
    return static_cast<int>(random.Draw() % divisor);
}

int Clamped(Wide value, int bound) {
    return static_cast<int>(std::clamp<Wide>(value, -Wide{bound}, bound));
}

// Negates `axis`; maybe jitters `other`, which stays within the bound.
void Bounce(int& axis, int& other, int bound, IRandomSource& random) {
    axis = -axis;
    Wide jittered = other;
    if (random.Draw() % 100 < 50) jittered += random.Draw() % 3 - 1;
    other = Clamped(jittered, bound);
}

// Holds an axis's moved position at the edge it met, if any; true then.
bool MetEdge(Wide& moved, int extent, int low, int high) {
    if (moved < low) {
        moved = low;
        return true;
    }
    if (moved + extent >= high) {
        moved = Wide{high} - extent;
        return true;
    }
    return false;
}

int DrawOffset(int low, int high, int frameExtent, IRandomSource& random) {
    const Wide room = Wide{high} - low - frameExtent;
    return room == 0 ? 0 : DrawBelow(room, random);
}

}  // namespace

Point DrawDrift(int mapMotion, IRandomSource& random) {
    if (mapMotion <= 0) return {};
    const Wide divisor = std::max(mapMotion, 2);
    Point drift;
    do {
        drift.y = DrawBelow(divisor, random);
        drift.x = DrawBelow(divisor, random);
    } while (drift.x == 0 && drift.y == 0);
    return drift;
}

Point DrawPosition(const Rect& client, Size frame, IRandomSource& random) {
    const int y = DrawOffset(client.top, client.bottom, frame.cy, random);
    const int x = DrawOffset(client.left, client.right, frame.cx, random);
    return {client.left + x, client.top + y};
}

void MoveFrame(Point& position, Point& drift, Size frame, const Rect& client, int mapMotion, IRandomSource& random) {
    const int bound = std::max(mapMotion, 0);
    // Both axes move before either bounces: a bounce's jitter changes the
    // other axis's drift for the next tick, not for this one.
    Wide x = Wide{position.x} + drift.x;
    Wide y = Wide{position.y} + drift.y;
    if (MetEdge(x, frame.cx, client.left, client.right)) Bounce(drift.x, drift.y, bound, random);
    if (MetEdge(y, frame.cy, client.top, client.bottom)) Bounce(drift.y, drift.x, bound, random);
    position = {static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace lumetra
