// Writes resources/lumetra.ico: the saver's icon at 16, 32 and 48 pixels, a
// radar scope whose sweep has found hosts in the map's colours (red fast,
// yellow, cyan, violet slow). Drawn per size so every size stays crisp.
// Run: node tools/resgen/saver-icon.mjs   (no packages needed)
import { encodeIco } from './bmp.mjs';
import { resourcePath, writeOutput } from './paths.mjs';

const kRim = [0, 0, 0];
const kScreen = [0, 40, 30];
const kRing = [0, 110, 60];
const kSweep = [60, 230, 110];
const kTrail = [0, 85, 55];
const kTrailDegrees = 50;
// Blips as [angle in degrees from 12 o'clock, clockwise; distance 0..1; colour].
const kBlips = [
    [40, 0.55, [255, 40, 40]],
    [130, 0.7, [255, 220, 0]],
    [215, 0.45, [0, 230, 255]],
    [300, 0.68, [170, 60, 255]],
];
const kSweepAngle = 60;

const angleOf = (dx, dy) => ((Math.atan2(dx, -dy) * 180) / Math.PI + 360) % 360;

function scope(size) {
    const c = size / 2;
    const radius = size / 2;
    const rim = Math.max(1, size / 16);
    const blipHalf = Math.max(1, Math.round(size / 16));
    const blipCentres = kBlips.map(([deg, dist, colour]) => {
        const a = (deg * Math.PI) / 180;
        return [Math.floor(c + Math.sin(a) * dist * (radius - rim)), Math.floor(c - Math.cos(a) * dist * (radius - rim)),
                colour];
    });
    return (x, y) => {
        const dx = x + 0.5 - c;
        const dy = y + 0.5 - c;
        const r = Math.hypot(dx, dy);
        if (r > radius) return null;
        if (r > radius - rim) return kRim;
        for (const [bx, by, colour] of blipCentres) {
            if (x >= bx - blipHalf + 1 && x <= bx + blipHalf - 1 + (blipHalf === 1 ? 1 : 0) &&
                y >= by - blipHalf + 1 && y <= by + blipHalf - 1 + (blipHalf === 1 ? 1 : 0)) {
                return colour;
            }
        }
        // Signed angle from the beam; negative is behind it, where the trail glows.
        const offBeam = ((angleOf(dx, dy) - kSweepAngle + 540) % 360) - 180;
        if (Math.abs(offBeam) * (Math.PI / 180) * r < 0.75) return kSweep;
        const ringStep = (radius - rim) / 2;
        if (Math.abs(r - ringStep) < 0.5 || r < 0.8) return kRing;
        return offBeam < 0 && offBeam > -kTrailDegrees ? kTrail : kScreen;
    };
}

writeOutput(resourcePath('lumetra.ico'), encodeIco([16, 32, 48].map((size) => ({ size, pixel: scope(size) }))));
