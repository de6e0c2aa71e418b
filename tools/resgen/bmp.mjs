// Little-endian writers for the BMP and ICO files of resources/, field by
// field, so the layout is plain to see and no image library is needed.

class ByteWriter {
    constructor(size) {
        this.buf = Buffer.alloc(size);
        this.pos = 0;
    }
    u8(v) { this.pos = this.buf.writeUInt8(v, this.pos); }
    u16(v) { this.pos = this.buf.writeUInt16LE(v, this.pos); }
    u32(v) { this.pos = this.buf.writeUInt32LE(v, this.pos); }
    i32(v) { this.pos = this.buf.writeInt32LE(v, this.pos); }
    done() {
        if (this.pos !== this.buf.length) throw new Error(`wrote ${this.pos} of ${this.buf.length} bytes`);
        return this.buf;
    }
}

export const rowStride = (width, bitCount) => Math.floor((width * bitCount + 31) / 32) * 4;

// The 40-byte info header. Fields beyond the size are given by the caller
// because the product's bitmaps differ in biSizeImage and resolution.
function infoHeader(w, { width, height, bitCount, sizeImage, pelsPerMeter, colorsUsed }) {
    w.u32(40);
    w.i32(width);
    w.i32(height);
    w.u16(1);  // planes
    w.u16(bitCount);
    w.u32(0);  // BI_RGB
    w.u32(sizeImage);
    w.i32(pelsPerMeter);
    w.i32(pelsPerMeter);
    w.u32(colorsUsed);
    w.u32(0);  // all colours important
}

// Packs one picture row (top-down pixel source) into the file's row layout.
function packRow(w, y, { width, bitCount, stride, pixel }) {
    const start = w.pos;
    if (bitCount === 24) {
        for (let x = 0; x < width; x++) {
            const [r, g, b] = pixel(x, y);
            w.u8(b);
            w.u8(g);
            w.u8(r);
        }
    } else if (bitCount === 4) {
        for (let x = 0; x < width; x += 2) {
            const hi = pixel(x, y);
            const lo = x + 1 < width ? pixel(x + 1, y) : 0;
            if (hi < 0 || hi > 15 || lo < 0 || lo > 15) throw new Error(`colour index out of range at ${x},${y}`);
            w.u8((hi << 4) | lo);
        }
    } else {
        throw new Error(`unsupported bit count ${bitCount}`);
    }
    while (w.pos < start + stride) w.u8(0);
}

// A BMP file. pixel(x, y) takes top-down coordinates and returns [r, g, b]
// for 24 bits or a colour-table index for 4 bits; palette is [[r, g, b], ...]
// (padded to 16 entries for 4 bits). trailingBytes are appended after the
// pixel rows (the kernel and ramp resources carry two).
export function encodeBmp({ width, height, bitCount, pixel, palette = [], sizeImageZero = false,
                            pelsPerMeter = 0, trailingBytes = 0 }) {
    const colors = bitCount <= 8 ? 1 << bitCount : 0;
    if (palette.length > colors) throw new Error('palette larger than the colour table');
    const stride = rowStride(width, bitCount);
    const imageSize = stride * height;
    const offBits = 14 + 40 + 4 * colors;
    const fileSize = offBits + imageSize + trailingBytes;
    const w = new ByteWriter(fileSize);
    w.u8(0x42);  // 'B'
    w.u8(0x4d);  // 'M'
    w.u32(fileSize);
    w.u16(0);
    w.u16(0);
    w.u32(offBits);
    infoHeader(w, { width, height, bitCount, sizeImage: sizeImageZero ? 0 : imageSize, pelsPerMeter,
                    colorsUsed: colors });
    for (let i = 0; i < colors; i++) {
        const [r, g, b] = palette[i] ?? [0, 0, 0];
        w.u8(b);
        w.u8(g);
        w.u8(r);
        w.u8(0);
    }
    for (let y = height - 1; y >= 0; y--) packRow(w, y, { width, bitCount, stride, pixel });
    for (let i = 0; i < trailingBytes; i++) w.u8(0);
    return w.done();
}

// One icon image in BMP form: 32-bit BGRA rows bottom-up, then the 1-bit AND
// mask (1 = transparent), with biHeight doubled as the icon format wants.
function encodeIconImage({ size, pixel }) {
    const xorSize = size * size * 4;
    const maskStride = rowStride(size, 1);
    const w = new ByteWriter(40 + xorSize + maskStride * size);
    infoHeader(w, { width: size, height: size * 2, bitCount: 32, sizeImage: 0, pelsPerMeter: 0, colorsUsed: 0 });
    for (let y = size - 1; y >= 0; y--) {
        for (let x = 0; x < size; x++) {
            const p = pixel(x, y);
            w.u8(p ? p[2] : 0);
            w.u8(p ? p[1] : 0);
            w.u8(p ? p[0] : 0);
            w.u8(p ? 255 : 0);
        }
    }
    for (let y = size - 1; y >= 0; y--) {
        const start = w.pos;
        for (let x = 0; x < size; x += 8) {
            let byte = 0;
            for (let bit = 0; bit < 8; bit++) {
                if (x + bit < size && !pixel(x + bit, y)) byte |= 0x80 >> bit;
            }
            w.u8(byte);
        }
        while (w.pos < start + maskStride) w.u8(0);
    }
    return w.done();
}

// An .ico file; images are [{ size, pixel }] where pixel(x, y) is [r, g, b]
// or null for a transparent pixel.
export function encodeIco(images) {
    const bodies = images.map(encodeIconImage);
    const dirSize = 6 + 16 * images.length;
    const total = dirSize + bodies.reduce((n, b) => n + b.length, 0);
    const w = new ByteWriter(dirSize);
    w.u16(0);  // reserved
    w.u16(1);  // icon, not cursor
    w.u16(images.length);
    let offset = dirSize;
    images.forEach(({ size }, i) => {
        w.u8(size >= 256 ? 0 : size);
        w.u8(size >= 256 ? 0 : size);
        w.u8(0);  // no colour count: true colour
        w.u8(0);
        w.u16(1);  // planes
        w.u16(32);
        w.u32(bodies[i].length);
        w.u32(offset);
        offset += bodies[i].length;
    });
    const out = Buffer.concat([w.done(), ...bodies]);
    if (out.length !== total) throw new Error('icon size mismatch');
    return out;
}
