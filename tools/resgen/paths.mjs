// Where the generators read and write: tools/resgen/, resources/ and places/
// of this checkout.
import { mkdirSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

export const repoRoot = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const resourcePath = (name) => join(repoRoot, 'resources', name);
export const resgenPath = (name) => join(repoRoot, 'tools', 'resgen', name);
export const placesPath = (name) => join(repoRoot, 'places', name);

export function writeOutput(path, bytes) {
    mkdirSync(dirname(path), { recursive: true });
    writeFileSync(path, bytes);
    console.log(`wrote ${path.slice(repoRoot.length + 1)} (${bytes.length} bytes)`);
}
