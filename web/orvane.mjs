// Orvane's converter for browsers and node: pattern file bytes in, metafile
// (or SVG) bytes out, computed here and never sent anywhere.
//
//   import loadOrvane from './orvane.mjs';
//   const orvane = await loadOrvane();
//   const wmf = orvane.convert(patternBytes, {format: 'wmf', width: ''});

import createOrvaneCore from './orvane-core.mjs';

const wasmUrl = new URL('./orvane-core.wasm', import.meta.url);

async function loadCore() {
    if (typeof process !== 'undefined' && process.versions && process.versions.node) {
        // The glue's own loading trips over node's built-in fetch; hand it
        // the bytes instead.
        const {readFile} = await import('node:fs/promises');
        return createOrvaneCore({wasmBinary: await readFile(wasmUrl)});
    }
    return createOrvaneCore({locateFile: () => wasmUrl.href});
}

function readText(core, pointer) {
    const heap = core.HEAPU8;
    let end = pointer;
    while (heap[end] !== 0)
        ++end;
    return new TextDecoder().decode(heap.subarray(pointer, end));
}

function writeText(core, text) {
    const bytes = new TextEncoder().encode(text);
    const pointer = core._malloc(bytes.length + 1);
    core.HEAPU8.set(bytes, pointer);
    core.HEAPU8[pointer + bytes.length] = 0;
    return pointer;
}

// The pattern's bytes as a Uint8Array: an ArrayBuffer is taken as bytes;
// anything else (a string, another typed array, nothing) is refused.
function patternBytes(bytes, caller) {
    if (bytes instanceof Uint8Array)
        return bytes;
    if (bytes instanceof ArrayBuffer)
        return new Uint8Array(bytes);
    const kind = bytes === null ? 'null' : typeof bytes === 'object' ? bytes.constructor?.name || 'object' : typeof bytes;
    throw new TypeError(`${caller} takes the pattern file as a Uint8Array or an ArrayBuffer, not ${kind}.`);
}

// Copies bytes into the core's memory for the length of call(pointer, size).
function withBytes(core, data, call) {
    const pointer = core._malloc(Math.max(data.length, 1));
    if (!pointer)
        throw new Error('Not enough memory for ' + data.length + ' bytes.');
    try {
        core.HEAPU8.set(data, pointer);
        return call(pointer, data.length);
    } finally {
        core._free(pointer);
    }
}

export default async function loadOrvane() {
    const core = await loadCore();
    const formats = readText(core, core._orvane_formats()).split('\n').filter(Boolean);
    const version = readText(core, core._orvane_version());

    // Returns the output; it also carries pixelsX and pixelsY, the output's
    // size. Throws an Error with the window's message when it fails, where
    // outputName is what the message calls the output.
    function convert(bytes, {format = 'wmf', width = '', outputName = 'standard output'} = {}) {
        const data = patternBytes(bytes, 'convert');
        const formatText = writeText(core, String(format));
        const widthText = writeText(core, width === undefined || width === null ? '' : String(width));
        const nameText = writeText(core, String(outputName));
        try {
            const ok = withBytes(core, data, (pointer, size) =>
                core._orvane_convert(pointer, size, formatText, widthText, nameText));
            if (!ok)
                throw new Error(readText(core, core._orvane_text()));
            const start = core._orvane_bytes();
            const output = core.HEAPU8.slice(start, start + core._orvane_bytes_size());
            output.pixelsX = core._orvane_pixels_x();
            output.pixelsY = core._orvane_pixels_y();
            return output;
        } finally {
            core._free(formatText);
            core._free(widthText);
            core._free(nameText);
        }
    }

    // What orvane-convert --info prints, as an object.
    function info(bytes) {
        const ok = withBytes(core, patternBytes(bytes, 'info'), (pointer, size) => core._orvane_info(pointer, size));
        const text = readText(core, core._orvane_text());
        if (!ok)
            throw new Error(text);
        return JSON.parse(text);
    }

    return {convert, info, formats, version};
}
