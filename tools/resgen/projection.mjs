// The one map projection of the product: the outline bitmap and the bundled
// target file both place longitude/latitude through toMapPixel, so a host in
// Seattle is drawn on Seattle.
//
// Equal-area conic with the usual US parallels, then a per-axis fit that puts
// the land's extreme points on the centres of pixel columns 7 and 486 and
// rows 12 and 301 of the 516 x 310 frame. The C++ placement (places/) does
// the same from the numbers that map-outline.mjs writes out of this module.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { geoConicEqualArea } from 'd3-geo';
import { feature } from 'topojson-client';

export const kMapWidth = 516;
export const kMapHeight = 310;
export const kLandBox = { left: 7, top: 12, right: 486, bottom: 301 };

// Alaska, Hawaii and the territories: not part of the lower 48.
const kOutsideLower48 = new Set(['02', '15', '60', '66', '69', '72', '78']);
export const kDistrictOfColumbia = '11';

const require = createRequire(import.meta.url);
export const atlas = JSON.parse(readFileSync(require.resolve('us-atlas/states-10m.json'), 'utf8'));
export const lower48 = {
    type: 'GeometryCollection',
    geometries: atlas.objects.states.geometries.filter((g) => !kOutsideLower48.has(g.id)),
};
export const lower48States = feature(atlas, lower48).features;

// The conic: standard parallels, the central meridian (96 W) and the
// latitude that the projection puts at its origin (d3's own default for
// this projection, named here so that the C++ side has it too).
export const kConic = { parallels: [29.5, 45.5], centralMeridian: -96, originLatitude: 33.6442 };
const conic = geoConicEqualArea()
    .parallels(kConic.parallels)
    .rotate([-kConic.centralMeridian, 0])
    .center([0, kConic.originLatitude])
    .scale(1)
    .translate([0, 0]);

// Every ring of every state as arrays of [lon, lat].
export function* landRings() {
    for (const state of lower48States) {
        const polygons = state.geometry.type === 'Polygon' ? [state.geometry.coordinates] : state.geometry.coordinates;
        for (const polygon of polygons) yield* polygon;
    }
}

function projectedBounds() {
    const b = { x0: Infinity, y0: Infinity, x1: -Infinity, y1: -Infinity };
    for (const ring of landRings()) {
        for (const point of ring) {
            const [x, y] = conic(point);
            b.x0 = Math.min(b.x0, x);
            b.x1 = Math.max(b.x1, x);
            b.y0 = Math.min(b.y0, y);
            b.y1 = Math.max(b.y1, y);
        }
    }
    return b;
}

const bounds = projectedBounds();
// The fit: the projected land's top left corner and the pixels per unit of
// the unit-scale conic along each axis.
export const kFit = {
    x0: bounds.x0,
    y0: bounds.y0,
    scaleX: (kLandBox.right - kLandBox.left) / (bounds.x1 - bounds.x0),
    scaleY: (kLandBox.bottom - kLandBox.top) / (bounds.y1 - bounds.y0),
};

// How much wider than true shape the fit draws the land (1 = undistorted).
export const kHorizontalStretch = kFit.scaleX / kFit.scaleY;

// Continuous frame coordinates: pixel (x, y) covers [x, x + 1) x [y, y + 1).
export function toMapPixel([lon, lat]) {
    const [x, y] = conic([lon, lat]);
    return [kLandBox.left + 0.5 + (x - kFit.x0) * kFit.scaleX, kLandBox.top + 0.5 + (y - kFit.y0) * kFit.scaleY];
}
