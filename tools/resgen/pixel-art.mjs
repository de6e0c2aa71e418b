// The colours of the pixel-art resources and the letters that name them in
// the text grids of the generators.

// Letter -> [r, g, b]; '.' is the icon strip's transparent purple.
const kColours = {
    '.': [128, 0, 128],
    K: [0, 0, 0],         // black
    D: [64, 64, 64],      // dark grey
    G: [128, 128, 128],   // grey
    L: [192, 192, 192],   // light grey
    W: [255, 255, 255],   // white
    R: [210, 30, 30],     // red
    g: [40, 200, 40],     // green
    e: [0, 110, 30],      // dark green
    B: [30, 90, 220],     // blue
    C: [80, 220, 255],    // light blue
    Y: [255, 220, 0],     // yellow
    O: [255, 130, 0],     // orange
    N: [130, 75, 30],     // brown
    b: [0, 30, 120],      // dark blue
    T: [235, 200, 150],   // tan
};

const kLetters = Object.keys(kColours);
export const kIconPalette = kLetters.map((c) => kColours[c]);

export function paletteIndex(letter) {
    const i = kLetters.indexOf(letter);
    if (i < 0) throw new Error(`unknown colour letter '${letter}'`);
    return i;
}

export const colourOf = (letter) => kColours[letter];
