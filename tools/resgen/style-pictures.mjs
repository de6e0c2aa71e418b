// Writes resources/style_hops.bmp (a green frog) and resources/style_speed.bmp
// (a grey rabbit), 48 x 32 at 4 bits per pixel, each on a rainbow ground
// that runs red to violet like the map's colour scale.
// Run: node tools/resgen/style-pictures.mjs   (no packages needed)
import { encodeBmp } from './bmp.mjs';
import { resourcePath, writeOutput } from './paths.mjs';

const kColours = {
    K: [0, 0, 0],
    W: [255, 255, 255],
    1: [230, 20, 20],     // rainbow: red
    2: [255, 140, 0],     //          orange
    3: [255, 230, 0],     //          yellow
    4: [60, 200, 60],     //          green
    5: [0, 200, 230],     //          cyan
    6: [40, 70, 230],     //          blue
    7: [150, 40, 220],    //          violet
    F: [0, 110, 20],      // frog, dark green
    f: [110, 210, 50],    // frog, light green
    Y: [235, 235, 140],   // frog's belly
    D: [90, 90, 90],      // rabbit, dark grey
    G: [150, 150, 150],   // rabbit, grey
    L: [205, 205, 205],   // rabbit, light grey
    P: [250, 150, 170],   // rabbit, pink
};
const kLetters = Object.keys(kColours);
const kPalette = kLetters.map((c) => kColours[c]);

// Both animals face the viewer: each grid is the left half, mirrored.
const mirrored = (halves) => halves.map((row) => row + [...row].reverse().join(''));

const kFrog = mirrored([
    '......KKKKK.....',
    '.....KWWWWWK....',
    '....KWWWKKWWK...',
    '....KWWWKKWWKKKK',
    '...KfKWWWWWKffff',
    '...KffKKKKKfffff',
    '..Kfffffffffffff',
    '..KffffffffffKff',
    '..Kfffffffffffff',
    '..KfKKffffffffff',
    '..KfffKKKKKKKKKK',
    '...Kffffffffffff',
    '..KFKfffffYYYYYY',
    '.KFFKffffYYYYYYY',
    '.KFFKfffYYYYYYYY',
    'KFFFKfffYYYYYYYY',
    'KFFKffffYYYYYYYY',
    'KFFKfffffYYYYYYY',
    '.KFFKfffffYYYYYY',
    '..KFFKKfffffffff',
    '.KFFFFFKKfffKKKK',
    'KfKfKfKKKffK....',
    'KKKKKKK..KKK....',
]);

const kRabbit = mirrored([
    '........KKK.....',
    '.......KLLLK....',
    '.......KLPLK....',
    '.......KLPLK....',
    '.......KLPLK....',
    '.......KLPLK....',
    '.......KLPLK....',
    '.......KLPLK....',
    '........KLPLK...',
    '........KLLLKKKK',
    '.......KLLLLLLLL',
    '......KLLLLLLLLL',
    '.....KLLLKKLLLLL',
    '.....KLLLKWLLLLL',
    '.....KLLLKKLLLLL',
    '.....KLLLLLLLLLP',
    '......KLLLLLLLLK',
    '.......KLLLLLKLW',
    '........KKLLLLKK',
    '.......KGGKKLLLL',
    '......KGGGGKWWWW',
    '.....KGGGGGKWWWW',
    '.....KGGGGKWWWWW',
    '.....KGGGGKWWWWW',
    '.....KGGGGGKWWWW',
    '....KDDDDDGGKKKK',
    '....KDDDDDDK....',
    '.....KKKKKK.....',
]);

const kRainbow = ['1', '2', '3', '4', '5', '6', '7'];

// The animal's grid centred on the 48 x 32 picture; '.' shows the ground.
function picture(grid) {
    const left = Math.floor((48 - grid[0].length) / 2);
    const top = Math.floor((32 - grid.length) / 2);
    grid.forEach((row, n) => {
        if (row.length !== grid[0].length) throw new Error(`row ${n} is ${row.length} wide`);
    });
    return (x, y) => {
        const row = grid[y - top];
        const letter = row?.[x - left] ?? '.';
        const shown = letter === '.' ? kRainbow[Math.floor((x * kRainbow.length) / 48)] : letter;
        return kLetters.indexOf(shown);
    };
}

for (const [name, grid] of [['style_hops.bmp', kFrog], ['style_speed.bmp', kRabbit]]) {
    writeOutput(resourcePath(name),
                encodeBmp({ width: 48, height: 32, bitCount: 4, palette: kPalette, pixel: picture(grid) }));
}
