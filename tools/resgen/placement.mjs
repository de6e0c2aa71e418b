// Where a host at a longitude and latitude goes on the map: the pixel that
// holds its projected position, or, for a coastal place that falls a pixel
// into the water at this scale, the nearest land pixel. The C++ placement
// (places/) follows the same rule against the outline bitmap.
import { LAND } from './map-raster.mjs';
import { toMapPixel } from './projection.mjs';

// How far, in pixels, a position in the water may move onto land.
export const kMaxNudge = 3;

// The nearest land pixel within kMaxNudge of the pixel holding [fx, fy]
// (the first in row order among equally near ones), as { x, y, d }, or null.
export function nearestLand(grid, [fx, fy]) {
    const x0 = Math.floor(fx);
    const y0 = Math.floor(fy);
    let best = null;
    for (let dy = -kMaxNudge; dy <= kMaxNudge; dy++) {
        for (let dx = -kMaxNudge; dx <= kMaxNudge; dx++) {
            const d = Math.hypot(dx, dy);
            if (d > kMaxNudge || grid[y0 + dy]?.[x0 + dx] !== LAND) continue;
            if (!best || d < best.d) best = { x: x0 + dx, y: y0 + dy, d };
        }
    }
    return best;
}

export function placeOnLand(grid, [lon, lat]) {
    const spot = nearestLand(grid, toMapPixel([lon, lat]));
    if (!spot) throw new Error(`no land within ${kMaxNudge} pixels of ${lat}, ${lon}`);
    return spot;
}
