// Prints where the generator places a grid of points over the lower 48 and
// every bundled host, one line each: latitude, longitude, the continuous
// frame position and the pixel ("X,Y", or "-" when it refuses the point),
// tab-separated, numbers as the shortest text that reads back the same.
// The C++ placement's differential test reads these lines
// (tests/places/differential_test.sh).
// Run: node tools/resgen/place-points.mjs > points.tsv
import { readCsv } from './csv.mjs';
import { rasterizeMap } from './map-raster.mjs';
import { resgenPath } from './paths.mjs';
import { nearestLand } from './placement.mjs';
import { toMapPixel } from './projection.mjs';

// A tenth of a degree over a box a little larger than the frame.
const kGrid = { south: 23, north: 51, west: -128, east: -64, perDegree: 10 };

const points = [];
for (let i = kGrid.south * kGrid.perDegree; i <= kGrid.north * kGrid.perDegree; i++) {
    for (let k = kGrid.west * kGrid.perDegree; k <= kGrid.east * kGrid.perDegree; k++) {
        points.push([i / kGrid.perDegree, k / kGrid.perDegree]);
    }
}
for (const { lat, lon } of readCsv(resgenPath('bundled-hosts.csv'))) points.push([Number(lat), Number(lon)]);

const grid = rasterizeMap();
const out = points.map(([lat, lon]) => {
    const position = toMapPixel([lon, lat]);
    const spot = nearestLand(grid, position);
    return [lat, lon, ...position, spot ? `${spot.x},${spot.y}` : '-'].join('\t');
});
process.stdout.write(out.join('\n') + '\n');
