// Writes resources/map_outline.bmp: 516 x 310, 4 bits per pixel, the lower 48
// in white with 1-pixel black borders between states, black elsewhere.
// Run: npm --prefix tools/resgen ci && node tools/resgen/map-outline.mjs
import { encodeBmp } from './bmp.mjs';
import { LAND, landBounds, rasterizeMap } from './map-raster.mjs';
import { resourcePath, writeOutput } from './paths.mjs';
import { kHorizontalStretch, kLandBox, kMapHeight, kMapWidth } from './projection.mjs';

// The 16 standard colours; the outline uses only black (0) and white (15).
const kPalette = [
    [0, 0, 0], [128, 0, 0], [0, 128, 0], [128, 128, 0], [0, 0, 128], [128, 0, 128], [0, 128, 128],
    [192, 192, 192], [128, 128, 128], [255, 0, 0], [0, 255, 0], [255, 255, 0], [0, 0, 255], [255, 0, 255],
    [0, 255, 255], [255, 255, 255],
];
const kBlack = 0;
const kWhite = 15;

const grid = rasterizeMap();
const white = landBounds(grid, (v) => v === LAND);
for (const side of ['left', 'top', 'right', 'bottom']) {
    if (white[side] !== kLandBox[side]) {
        throw new Error(`land ${side} edge at ${white[side]}, wanted ${kLandBox[side]}`);
    }
}
console.log(`land ${white.left}..${white.right} x ${white.top}..${white.bottom}, ` +
            `horizontal stretch ${kHorizontalStretch.toFixed(3)}`);

writeOutput(resourcePath('map_outline.bmp'),
            encodeBmp({ width: kMapWidth, height: kMapHeight, bitCount: 4, palette: kPalette,
                        pixel: (x, y) => (grid[y][x] === LAND ? kWhite : kBlack) }));
