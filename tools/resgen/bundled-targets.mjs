// Writes resources/lumetra.txt, the target file shipped with the saver:
// public, long-lived hosts of universities, research networks and public
// agencies across the lower 48, each placed on the map at its city through
// the same projection as the outline. Hosts are given by name only, so the
// saver resolves each one when it probes it.
// Run: npm --prefix tools/resgen ci && node tools/resgen/bundled-targets.mjs
import { readCsv } from './csv.mjs';
import { rasterizeMap } from './map-raster.mjs';
import { resgenPath, resourcePath, writeOutput } from './paths.mjs';
import { placeOnLand } from './placement.mjs';

// The hosts, one a row of bundled-hosts.csv: the area they stand for, the
// city (the note the settings show), latitude, longitude, host, icon type (1
// server, 2 router or regional network, 3 campus, 4 backbone or exchange, 5
// home, 6 satellite link, 7 data centre) and who runs it. The table is in
// the form that lumetra-map import reads, so the C++ import of it must give
// this file's lines.
const kTargets = readCsv(resgenPath('bundled-hosts.csv'));

const kHeader = [
    '; Lumetra target file: the hosts that the saver probes, one per line.',
    '; Seven fields separated by tabs:',
    ';   1 type      which icon stands for the host: 1 server, 2 router or regional',
    ';               network, 3 campus, 4 backbone or exchange, 5 home,',
    ';               6 satellite link, 7 data centre',
    ';   2 address   a dotted IPv4 address, or a word such as "name" to have the',
    ';               saver look the host name up each time it probes',
    ';   3 host      the host name that is probed and shown',
    ';   4 info      free text, stored only',
    ';   5 note      shown after the host name in the settings, or * for none',
    ';   6 x,y       position on the 516 x 310 map in pixels, 0,0 at the top left',
    ';   7 region    the saver shows the region USA',
    '; Lines starting with ; are comments. Empty fields are not allowed: two tabs',
    '; in a row count as one.',
    '',
];

const grid = rasterizeMap();
const lines = [...kHeader];
const regions = new Set();
for (const { area, note, lat, lon, host, type, info } of kTargets) {
    const spot = placeOnLand(grid, [Number(lon), Number(lat)]);
    if (spot.d > 0) console.log(`${host}: moved ${spot.d.toFixed(1)} px onto land`);
    regions.add(area);
    lines.push([type, 'name', host, info, note, `${spot.x},${spot.y}`, 'USA'].join('\t'));
}
console.log(`${kTargets.length} targets in ${regions.size} regions: ${[...regions].join(', ')}`);
writeOutput(resourcePath('lumetra.txt'), Buffer.from(lines.join('\n') + '\n', 'latin1'));
