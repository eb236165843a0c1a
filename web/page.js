// The page: reads the chosen or dropped pattern files, converts each in the
// WebAssembly core and offers the results; nothing is sent anywhere.

import loadOrvane from './orvane.mjs';

const $ = (id) => document.getElementById(id);
const extensions = {wmf: 'wmf', placeable: 'wmf', svg: 'svg', png: 'png'};

let orvane;
// {name, bytes} of each file in the order given.
let patterns = [];
// {name, bytes} of each output, for "Download all".
let outputs = [];
// Object URLs of the cards on show, revoked when the cards are replaced.
let urls = [];
// Bumped by each render so that a slower earlier one stops.
let generation = 0;

function fileName(patternName, format) {
    const base = patternName.replace(/\.pat$/i, '');
    return base + '.' + extensions[format];
}

function url(bytes, type) {
    const address = URL.createObjectURL(new Blob([bytes], {type}));
    urls.push(address);
    return address;
}

// PNG: the browser draws the SVG at the scene's pixel size.
async function pngFromSvg(svg) {
    const image = new Image();
    image.src = url(svg, 'image/svg+xml');
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = svg.pixelsX;
    canvas.height = svg.pixelsY;
    canvas.getContext('2d').drawImage(image, 0, 0, svg.pixelsX, svg.pixelsY);
    const blob = await new Promise((resolve) => canvas.toBlob(resolve, 'image/png'));
    return new Uint8Array(await blob.arrayBuffer());
}

async function convertOne(pattern, format, width) {
    const outputName = fileName(pattern.name, format);
    // The chosen format first, so that its message is the one shown.
    const metafile = format === 'wmf' || format === 'placeable'
        ? orvane.convert(pattern.bytes, {format, width, outputName}) : null;
    const svg = orvane.convert(pattern.bytes, {format: 'svg', width, outputName});
    const bytes = metafile || (format === 'png' ? await pngFromSvg(svg) : svg);
    return {svg, bytes};
}

function card(pattern) {
    const item = document.createElement('li');
    item.className = 'card';
    const title = document.createElement('h2');
    title.textContent = pattern.name;
    item.append(title);
    return item;
}

async function render() {
    const run = ++generation;
    const format = $('format').value;
    const width = $('width').value.trim();
    for (const address of urls)
        URL.revokeObjectURL(address);
    urls = [];
    outputs = [];
    const cards = $('cards');
    cards.replaceChildren();
    $('all').disabled = true;
    let failed = 0;
    for (const pattern of patterns) {
        const item = card(pattern);
        cards.append(item);
        try {
            const {svg, bytes} = await convertOne(pattern, format, width);
            if (run !== generation)
                return;
            const preview = document.createElement('img');
            preview.src = url(svg, 'image/svg+xml');
            preview.alt = 'Preview of ' + pattern.name;
            const size = document.createElement('p');
            size.className = 'size';
            size.textContent = svg.pixelsX + ' × ' + svg.pixelsY + ' pixels';
            const name = fileName(pattern.name, format);
            const link = document.createElement('a');
            link.href = url(bytes, 'application/octet-stream');
            link.download = name;
            link.className = 'download';
            link.textContent = 'Download ' + name;
            item.append(preview, size, link);
            outputs.push({name, bytes});
        } catch (error) {
            if (run !== generation)
                return;
            const message = document.createElement('p');
            message.className = 'error';
            message.textContent = error.message;
            item.append(message);
            ++failed;
        }
    }
    $('all').disabled = outputs.length === 0;
    $('status').textContent = patterns.length === 0 ? 'Ready.'
        : `${outputs.length} converted, ${failed} failed.`;
}

async function addFiles(files) {
    const added = await Promise.all([...files].map(async (file) => ({
        name: file.name, bytes: new Uint8Array(await file.arrayBuffer()),
    })));
    patterns = patterns.concat(added);
    await render();
}

// The zip writer loads only when first needed, off the page's start.
async function downloadAll() {
    const {zipSync} = await import('./fflate.mjs');
    const entries = {};
    for (const {name, bytes} of outputs) {
        let unique = name;
        for (let n = 2; unique in entries; ++n)
            unique = name.replace(/(\.[^.]*)$/, `-${n}$1`);
        entries[unique] = bytes;
    }
    const link = document.createElement('a');
    link.href = url(zipSync(entries, {level: 6}), 'application/zip');
    link.download = 'orvane-' + $('format').value + '.zip';
    document.body.append(link);
    link.click();
    link.remove();
}

function watchDrops() {
    const drop = $('drop');
    for (const type of ['dragenter', 'dragover']) {
        drop.addEventListener(type, (event) => {
            event.preventDefault();
            drop.classList.add('over');
        });
    }
    drop.addEventListener('dragleave', () => drop.classList.remove('over'));
    drop.addEventListener('drop', (event) => {
        event.preventDefault();
        drop.classList.remove('over');
        addFiles(event.dataTransfer.files);
    });
}

async function start() {
    orvane = await loadOrvane();
    $('version').textContent = orvane.version;
    $('files').addEventListener('change', (event) => {
        addFiles(event.target.files);
        event.target.value = '';
    });
    $('format').addEventListener('change', render);
    $('width').addEventListener('change', render);
    $('options').addEventListener('submit', (event) => {
        event.preventDefault();
        render();
    });
    $('all').addEventListener('click', downloadAll);
    watchDrops();
    $('status').textContent = 'Ready.';
    document.body.dataset.ready = String(performance.now());
}

start().catch((error) => {
    $('status').textContent = 'The converter could not start: ' + error.message;
});
