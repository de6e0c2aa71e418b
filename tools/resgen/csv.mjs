// Reads the small CSV tables of the generators: a header row, then one
// record per row; fields may be quoted ("a, b"), with "" for a quote inside.
import { readFileSync } from 'node:fs';

function parseRows(text) {
    const rows = [];
    let row = [];
    let field = '';
    let quoted = false;
    for (let i = 0; i < text.length; i++) {
        const c = text[i];
        if (quoted) {
            if (c === '"' && text[i + 1] === '"') field += text[++i];
            else if (c === '"') quoted = false;
            else field += c;
        } else if (c === '"') quoted = true;
        else if (c === ',') {
            row.push(field);
            field = '';
        } else if (c === '\n') {
            rows.push([...row, field.replace(/\r$/, '')]);
            row = [];
            field = '';
        } else field += c;
    }
    if (quoted) throw new Error('unterminated quote');
    if (field !== '' || row.length > 0) rows.push([...row, field]);
    return rows.filter((r) => r.length > 1 || r[0] !== '');
}

// The records of the file as objects keyed by the header's names.
export function readCsv(path) {
    const [header, ...rows] = parseRows(readFileSync(path, 'utf8'));
    return rows.map((r, i) => {
        if (r.length !== header.length) throw new Error(`${path}: record ${i + 1} has ${r.length} fields`);
        return Object.fromEntries(header.map((name, k) => [name, r[k]]));
    });
}
