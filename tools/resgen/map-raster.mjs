// Rasterises the lower 48 into a 516 x 310 grid of LAND / BORDER / OUTSIDE:
// every pixel whose centre lies in a state is land, the coastline is traced
// so thin capes and islands keep their pixels, and the borders between
// states are traced as 1-pixel lines.
import { mesh } from 'topojson-client';
import { atlas, kDistrictOfColumbia, kMapHeight, kMapWidth, landRings, lower48, lower48States, toMapPixel }
    from './projection.mjs';

export const OUTSIDE = 0;
export const LAND = 1;
export const BORDER = 2;

function fillPolygon(grid, rings) {
    for (let y = 0; y < kMapHeight; y++) {
        const yc = y + 0.5;
        const crossings = [];
        for (const ring of rings) {
            for (let i = 0; i + 1 < ring.length; i++) {
                const [xa, ya] = ring[i];
                const [xb, yb] = ring[i + 1];
                if ((ya <= yc) !== (yb <= yc)) crossings.push(xa + ((yc - ya) * (xb - xa)) / (yb - ya));
            }
        }
        crossings.sort((a, b) => a - b);
        for (let k = 0; k + 1 < crossings.length; k += 2) {
            const first = Math.max(0, Math.ceil(crossings[k] - 0.5));
            const last = Math.min(kMapWidth - 1, Math.floor(crossings[k + 1] - 0.5));
            for (let x = first; x <= last; x++) grid[y][x] = LAND;
        }
    }
}

// Bresenham between the pixels that hold the two end points.
function drawLine(grid, [xa, ya], [xb, yb], value) {
    let x = Math.floor(xa);
    let y = Math.floor(ya);
    const x1 = Math.floor(xb);
    const y1 = Math.floor(yb);
    const dx = Math.abs(x1 - x);
    const dy = -Math.abs(y1 - y);
    const sx = x < x1 ? 1 : -1;
    const sy = y < y1 ? 1 : -1;
    let err = dx + dy;
    for (;;) {
        if (x >= 0 && x < kMapWidth && y >= 0 && y < kMapHeight) grid[y][x] = value;
        if (x === x1 && y === y1) return;
        const e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

function drawLines(grid, lines, value) {
    for (const line of lines) {
        const points = line.map(toMapPixel);
        for (let i = 0; i + 1 < points.length; i++) drawLine(grid, points[i], points[i + 1], value);
    }
}

export function rasterizeMap() {
    const grid = Array.from({ length: kMapHeight }, () => new Uint8Array(kMapWidth));
    for (const state of lower48States) {
        const polygons = state.geometry.type === 'Polygon' ? [state.geometry.coordinates] : state.geometry.coordinates;
        for (const polygon of polygons) fillPolygon(grid, polygon.map((ring) => ring.map(toMapPixel)));
    }
    drawLines(grid, [...landRings()], LAND);
    // Washington DC is drawn as part of Maryland: its own border would be a
    // black blot at this scale.
    const stateBorders = mesh(atlas, lower48, (a, b) => a !== b && a.id !== kDistrictOfColumbia &&
                                                         b.id !== kDistrictOfColumbia);
    drawLines(grid, stateBorders.coordinates, BORDER);
    return grid;
}

export function landBounds(grid, accept) {
    const box = { left: Infinity, top: Infinity, right: -Infinity, bottom: -Infinity };
    grid.forEach((row, y) => row.forEach((v, x) => {
        if (!accept(v)) return;
        box.left = Math.min(box.left, x);
        box.right = Math.max(box.right, x);
        box.top = Math.min(box.top, y);
        box.bottom = Math.max(box.bottom, y);
    }));
    return box;
}
