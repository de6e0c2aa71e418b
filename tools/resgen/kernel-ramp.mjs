// Writes resources/kernel.bmp (the field's radial falloff) and
// resources/color_ramp.bmp (the 256 colours from fast to slow).
// Run: node tools/resgen/kernel-ramp.mjs   (no packages needed)
import { encodeBmp } from './bmp.mjs';
import { resourcePath, writeOutput } from './paths.mjs';

// Falloff by distance from the centre: [radius, sample]. Full weight up to
// radius 7, nothing from 127 on.
const kProfile = [
    [7, 255], [8, 254], [12, 248], [16, 240], [24, 224], [32, 206], [40, 187], [48, 168], [56, 149], [64, 131],
    [72, 113], [80, 94], [88, 75], [96, 57], [104, 38], [112, 22], [120, 9], [124, 3], [126, 1], [127, 0],
];

// Monotone cubic (Fritsch-Carlson) slopes, so the curve is smooth and never
// overshoots between the listed radii. The slope is 0 where it joins the
// flat centre.
function monotoneSlopes(points) {
    const n = points.length;
    const secant = [];
    for (let k = 0; k + 1 < n; k++) {
        secant.push((points[k + 1][1] - points[k][1]) / (points[k + 1][0] - points[k][0]));
    }
    const slopes = [0];
    for (let k = 1; k + 1 < n; k++) {
        const h0 = points[k][0] - points[k - 1][0];
        const h1 = points[k + 1][0] - points[k][0];
        const d0 = secant[k - 1];
        const d1 = secant[k];
        if (d0 * d1 <= 0) {
            slopes.push(0);
        } else {
            const w0 = 2 * h1 + h0;
            const w1 = h1 + 2 * h0;
            slopes.push((w0 + w1) / (w0 / d0 + w1 / d1));
        }
    }
    slopes.push(secant[n - 2]);
    return slopes;
}

const kSlopes = monotoneSlopes(kProfile);

export function profileAt(r) {
    const first = kProfile[0];
    const last = kProfile[kProfile.length - 1];
    if (r <= first[0]) return first[1];
    if (r >= last[0]) return last[1];
    let k = 0;
    while (kProfile[k + 1][0] < r) k++;
    const [x0, y0] = kProfile[k];
    const [x1, y1] = kProfile[k + 1];
    const h = x1 - x0;
    const t = (r - x0) / h;
    const t2 = t * t;
    const t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * y0 + (t3 - 2 * t2 + t) * h * kSlopes[k] + (-2 * t3 + 3 * t2) * y1 +
           (t3 - t2) * h * kSlopes[k + 1];
}

const kernelSample = (x, y) => {
    const s = Math.round(profileAt(Math.hypot(x - 128, y - 128)));
    return Math.min(255, Math.max(0, s));
};

// Entries whose colour is fixed, as [entry, red, green, blue]; the rest
// follow the hue between them at full saturation and brightness.
const kTellingRows = [
    [0, 255, 0, 0], [32, 255, 146, 0], [56, 254, 255, 0], [64, 227, 255, 0], [96, 71, 255, 0],
    [112, 4, 255, 0], [128, 0, 255, 53], [160, 0, 255, 201], [176, 0, 252, 255], [192, 0, 179, 255],
    [224, 0, 17, 255], [232, 6, 0, 255], [255, 105, 0, 255],
];

// Hue in degrees of a colour whose largest channel is 255 and smallest 0.
function hueOf(r, g, b) {
    const max = Math.max(r, g, b);
    const span = max - Math.min(r, g, b);
    if (span === 0) return 0;
    let h;
    if (max === r) h = (g - b) / span;
    else if (max === g) h = 2 + (b - r) / span;
    else h = 4 + (r - g) / span;
    return (h * 60 + 360) % 360;
}

function fullColour(hue) {
    const sector = Math.floor(hue / 60) % 6;
    const rising = Math.round((255 * (hue - 60 * Math.floor(hue / 60))) / 60);
    const falling = 255 - rising;
    return [
        [255, rising, 0], [falling, 255, 0], [0, 255, rising],
        [0, falling, 255], [rising, 0, 255], [255, 0, falling],
    ][sector];
}

function rampColour(i) {
    let k = 0;
    while (kTellingRows[k + 1][0] < i) k++;
    const [e0, ...c0] = kTellingRows[k];
    const [e1, ...c1] = kTellingRows[k + 1];
    if (i === e0) return c0;
    if (i === e1) return c1;
    const h0 = hueOf(...c0);
    const h1 = hueOf(...c1);
    return fullColour(h0 + ((h1 - h0) * (i - e0)) / (e1 - e0));
}

// Both resources carry 2 bytes behind their rows and a resolution of
// 2834 pixels per metre (72 dpi); biSizeImage is left 0 as BI_RGB allows.
const kResourceLayout = { bitCount: 24, sizeImageZero: true, pelsPerMeter: 2834, trailingBytes: 2 };

writeOutput(resourcePath('kernel.bmp'),
            encodeBmp({ width: 256, height: 256, pixel: (x, y) => { const s = kernelSample(x, y); return [s, s, s]; },
                        ...kResourceLayout }));
writeOutput(resourcePath('color_ramp.bmp'),
            encodeBmp({ width: 256, height: 1, pixel: (x) => rampColour(x), ...kResourceLayout }));
