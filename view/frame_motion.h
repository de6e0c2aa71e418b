// How the frame moves over the window: its first drift and position, drawn at
// random, and the motion tick that adds the drift and bounces the frame off
// the client area's edges.
#pragma once

#include "imaging/canvas.h"
#include "view/random_source.h"

namespace lumetra {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// The first drift for the motion bound M (the setting MapMotion): dy is drawn
// first, then dx, each as Draw() % M, both again while both are 0. The frame
// thus starts moving right, down or both, each component 0 to M - 1.
//
// Below 2 the rule has no answer, since % 1 always gives 0 and 0 is no
// divisor. M == 1 is the dialog's slowest setting, not a request to stand
// still: its components are drawn % 2, so they are 0 or 1, not both 0, within
// the bound of -1 to 1. M of 0 or less (from a hand-edited file) allows no
// motion at all: the drift is (0, 0) and nothing is drawn.
Point DrawDrift(int mapMotion, IRandomSource& random);

// The frame's first top left corner in `client`: y is drawn first, then x, as
// Draw() % (client extent - frame extent). The remainder keeps the sign of
// the draw, so a client area smaller than the frame (the preview) gives 0 to
// frame extent - client extent - 1. An extent that equals the frame's leaves
// no divisor: the frame sits at the client's edge on that axis, and nothing
// is drawn for it.
Point DrawPosition(const Rect& client, Size frame, IRandomSource& random);

// One motion tick: the drift is added, then the frame bounces off the left or
// right edge and off the top or bottom one. The left and top tests are strict,
// the right and bottom ones are not, so a frame touching the right edge
// bounces. A bounce negates that axis's drift, then with a draw % 100 below 50
// adds Draw() % 3 - 1 to the other axis's drift, which is then clamped to
// -M to M in any case (to 0 for M of 0 or less).
void MoveFrame(Point& position, Point& drift, Size frame, const Rect& client, int mapMotion, IRandomSource& random);

}  // namespace lumetra
