// The page's converter, in a thread of its own so that the page never waits
// for the core: it keeps each file's bytes by the page's id for it and
// answers each request ({id, task, ...}) with {id, ...} or {id, error} where
// error is the window's message.

import loadOrvane from './orvane.mjs';

// The browser's canvas, which draws the PNG pictures, holds no more.
const canvasPixels = 268435456;
const canvasSide = 65535;

const loading = loadOrvane();
// The pattern files' bytes by the page's id for them.
const patterns = new Map();

// One of the core's SVG drawings on a canvas width pixels wide, its outlines
// at least thinnest pixels wide; null when the canvas cannot be made. The
// browser's own drawing of the SVG takes seconds and hundreds of megabytes
// for the largest patterns. The core's drawing holds a white page, then
// paths of "M x y L x y" segments, rects and ellipses in the view box's
// pixels, shifted by half a pixel and stroked black with square caps.
function drawOutlines(svg, width, thinnest) {
    const text = new TextDecoder().decode(svg);
    const scale = width / Math.max(svg.pixelsX, 1);
    let canvas;
    try {
        canvas = new OffscreenCanvas(Math.max(1, Math.round(svg.pixelsX * scale)),
            Math.max(1, Math.round(svg.pixelsY * scale)));
    } catch {
        return null;
    }
    const context = canvas.getContext('2d');
    if (!context)
        return null;
    context.fillStyle = '#fff';
    context.fillRect(0, 0, canvas.width, canvas.height);
    context.strokeStyle = '#000';
    context.lineCap = 'square';
    context.lineWidth = Math.max(Number(/stroke-width="([\d.e+-]+)"/.exec(text)?.[1] || 1) * scale, thinnest);
    const at = (value) => Number(value) * scale + 0.5;
    const size = (value) => Number(value) * scale;
    const shapes = /M(-?[\d.]+) (-?[\d.]+)L(-?[\d.]+) (-?[\d.]+)|<rect x="([-\d.]+)" y="([-\d.]+)" width="([\d.]+)" height="([\d.]+)"|<ellipse cx="([-\d.]+)" cy="([-\d.]+)" rx="([\d.]+)" ry="([\d.]+)"/g;
    const path = new Path2D();
    for (const m of text.matchAll(shapes)) {
        if (m[1] !== undefined) {
            path.moveTo(at(m[1]), at(m[2]));
            path.lineTo(at(m[3]), at(m[4]));
        } else if (m[5] !== undefined) {
            path.rect(at(m[5]), at(m[6]), size(m[7]), size(m[8]));
        } else {
            path.moveTo(at(m[9]) + size(m[11]), at(m[10]));
            path.ellipse(at(m[9]), at(m[10]), size(m[11]), size(m[12]), 0, 0, 2 * Math.PI);
        }
    }
    context.stroke(path);
    return canvas;
}

// PNG: the SVG drawn at the scene's pixel size, within what the canvas
// holds, with orvane-convert's words when the page is too large.
async function png(svg, outputName) {
    const {pixelsX, pixelsY} = svg;
    const failure = (reason) => new Error(`Error creating PNG file ${outputName}.\n\n${reason}`);
    let limit = '';
    if (pixelsX * pixelsY > canvasPixels)
        limit = canvasPixels + ' pixels';
    else if (Math.max(pixelsX, pixelsY) > canvasSide)
        limit = canvasSide + ' pixels a side';
    if (limit) {
        throw failure(`A PNG image holds at most ${limit}; this page is ${pixelsX} x ${pixelsY} pixels. `
            + 'Choose a smaller pattern size.');
    }
    const canvas = drawOutlines(svg, pixelsX, 0);
    const blob = canvas && await canvas.convertToBlob({type: 'image/png'}).catch(() => null);
    if (!blob)
        throw failure('There is not enough memory for a PNG image of this page.');
    return blob;
}

const tasks = {
    start: (orvane) => ({formats: orvane.formats, version: orvane.version}),
    keep: (orvane, {file, bytes}) => {
        patterns.set(file, bytes);
        return {};
    },
    forget: (orvane, {file}) => {
        patterns.delete(file);
        return {};
    },
    // {blob, pixelsX, pixelsY}; png when the core has no such format.
    convert: async (orvane, {file, format, width, outputName}) => {
        const bytes = patterns.get(file);
        if (!orvane.formats.includes(format)) {
            const svg = orvane.convert(bytes, {format: 'svg', width, outputName});
            return {blob: await png(svg, outputName), pixelsX: svg.pixelsX, pixelsY: svg.pixelsY};
        }
        const output = orvane.convert(bytes, {format, width, outputName});
        return {blob: new Blob([output], {type: 'application/octet-stream'}), pixelsX: output.pixelsX,
            pixelsY: output.pixelsY};
    },
    // The page at its own size, its longer side at most side pixels: a PNG
    // Blob, or an ImageBitmap with bitmap set.
    picture: async (orvane, {file, side, bitmap}) => {
        const svg = orvane.convert(patterns.get(file), {format: 'svg'});
        const scale = Math.min(1, side / Math.max(svg.pixelsX, svg.pixelsY, 1));
        const canvas = drawOutlines(svg, Math.max(1, Math.round(svg.pixelsX * scale)), 1);
        if (!canvas)
            throw new Error('There is not enough memory for a picture of this page.');
        if (bitmap)
            return {bitmap: canvas.transferToImageBitmap()};
        return {blob: await canvas.convertToBlob({type: 'image/png'})};
    },
};

self.onmessage = async ({data}) => {
    const {id, task} = data;
    let answer;
    try {
        answer = await tasks[task](await loading, data);
    } catch (error) {
        answer = {error: error.message};
    }
    self.postMessage({id, ...answer}, answer.bitmap ? [answer.bitmap] : []);
};
