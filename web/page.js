// The page: reads the chosen, dropped, opened or shared pattern files,
// converts each in the WebAssembly core and offers the results; nothing is
// sent anywhere. A file keeps its card for as long as it is on the page: a
// change of format or width converts the files again one at a time, with the
// page free in between, and updates each card in place.

import loadOrvane from './orvane.mjs';

const $ = (id) => document.getElementById(id);

// What the list calls the formats it knows; another format of the core shows
// its own name and extension.
const formatTexts = {
    wmf: ['Windows Metafile', 'wmf'],
    placeable: ['Placeable Windows Metafile', 'wmf'],
    svg: ['SVG drawing', 'svg'],
    pdf: ['PDF document', 'pdf'],
    png: ['PNG picture', 'png'],
};
// Chromium's canvas, which draws the PNG pictures, holds no more.
const canvasPixels = 268435456;
const canvasSide = 65535;
// Metafiles hold coordinates up to 32767, and so does the field.
const widthLimit = 32767;
const widthHint = 'Blank keeps the page\'s own size; otherwise a whole number from 1 to 32767.';
// The longer side of a card's preview picture and of the large one, in pixels.
const previewSide = 448;
const largeSide = 4096;
// How many outlines a canvas takes between two breaks for the page.
const outlinesAtOnce = 4000;
// How much of a file the zip takes between two breaks for the page.
const zipChunk = 1 << 20;

const loading = loadOrvane();
let orvane = null;
// One entry a file, in the order given: {name, bytes, item, ...} (newEntry).
let entries = [];
// The format and the width that the cards show or are being converted to.
const settings = {format: remembered('format') || 'wmf', width: validWidth(remembered('width')) || ''};
// The conversion loop while it runs.
let running = null;
let zipping = false;
// The object URL of the last zip.
let zipUrl = null;

// The text itself when it is a width the field takes, '' for blank, else null.
function validWidth(text) {
    const trimmed = (text || '').trim();
    if (trimmed === '' || (/^\d+$/.test(trimmed) && Number(trimmed) >= 1 && Number(trimmed) <= widthLimit))
        return trimmed;
    return null;
}

function remembered(key) {
    try {
        return localStorage.getItem('orvane.' + key);
    } catch {
        return null;
    }
}

function remember(key, value) {
    try {
        localStorage.setItem('orvane.' + key, value);
    } catch {
        // Storage off: the choice holds until the page closes.
    }
}

function settingsKey() {
    return settings.format + '\n' + settings.width;
}

function fileName(patternName, format) {
    const extension = formatTexts[format]?.[1] || format;
    return patternName.replace(/\.pat$/i, '') + '.' + extension;
}

// Gives the page a turn between two pieces of work: a task of its own, after
// whatever the page has waiting (input, drawing, timers), without the
// minimum wait of timers.
function yieldToPage() {
    return new Promise((resolve) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = () => {
            channel.port1.close();
            resolve();
        };
        channel.port2.postMessage(null);
    });
}

function canvasBlob(canvas) {
    return new Promise((resolve) => canvas.toBlob(resolve, 'image/png'));
}

// PNG: the SVG drawn at the scene's pixel size, within what the browser's
// canvas holds, with orvane-convert's words when the page is too large.
async function pngFromSvg(svg, outputName) {
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
    const canvas = await drawOutlines(svg, pixelsX, 0);
    const blob = canvas && await canvasBlob(canvas);
    if (canvas) {
        canvas.width = 0;
        canvas.height = 0;
    }
    if (!blob)
        throw failure('There is not enough memory for a PNG image of this page.');
    return blob;
}

// {blob, pixelsX, pixelsY}, or {error} with the window's message.
async function produce(entry, format, width) {
    const outputName = fileName(entry.name, format);
    try {
        if (!orvane.formats.includes(format)) {
            const svg = orvane.convert(entry.bytes, {format: 'svg', width, outputName});
            return {blob: await pngFromSvg(svg, outputName), pixelsX: svg.pixelsX, pixelsY: svg.pixelsY};
        }
        const output = orvane.convert(entry.bytes, {format, width, outputName});
        return {blob: new Blob([output], {type: 'application/octet-stream'}), pixelsX: output.pixelsX,
            pixelsY: output.pixelsY};
    } catch (error) {
        return {error: error.message};
    }
}

// One of the core's SVG drawings on a canvas width pixels wide, its outlines
// at least thinnest pixels wide; null when the canvas cannot be made. The
// browser's own drawing of the SVG takes seconds and hundreds of megabytes
// for the largest patterns, in one piece. The core's drawing holds a white
// page, then paths of "M x y L x y" segments, rects and ellipses in the view
// box's pixels, shifted by half a pixel and stroked black with square caps;
// they are drawn here a few thousand at a time, with the page free between.
async function drawOutlines(svg, width, thinnest) {
    await yieldToPage();
    const text = new TextDecoder().decode(svg);
    const scale = width / Math.max(svg.pixelsX, 1);
    const canvas = document.createElement('canvas');
    canvas.width = Math.max(1, Math.round(svg.pixelsX * scale));
    canvas.height = Math.max(1, Math.round(svg.pixelsY * scale));
    const context = canvas.getContext('2d', {willReadFrequently: true});
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
    let path = new Path2D();
    let count = 0;
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
        if (++count % outlinesAtOnce === 0) {
            context.stroke(path);
            // Draws now rather than all at once when the picture is read.
            context.getImageData(0, 0, 1, 1);
            path = new Path2D();
            await yieldToPage();
        }
    }
    context.stroke(path);
    return canvas;
}

// One small picture a file, whatever the format: the page at its own size.
async function makePreview(entry) {
    let svg;
    try {
        svg = orvane.convert(entry.bytes, {format: 'svg'});
    } catch {
        return; // the card shows the message
    }
    const scale = Math.min(1, previewSide / Math.max(svg.pixelsX, svg.pixelsY, 1));
    const canvas = await drawOutlines(svg, Math.max(1, Math.round(svg.pixelsX * scale)), 1);
    const blob = canvas && await canvasBlob(canvas);
    if (!blob || !entries.includes(entry))
        return;
    entry.previewUrl = URL.createObjectURL(blob);
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'preview';
    button.title = 'Open large';
    const image = document.createElement('img');
    image.src = entry.previewUrl;
    image.alt = 'Preview of ' + entry.name;
    button.append(image);
    button.addEventListener('click', () => openLarge(entry));
    entry.previewSlot.replaceChildren(button);
}

// The page at its own size (within largeSide), drawn when asked and dropped
// when closed.
async function openLarge(entry) {
    let svg;
    try {
        svg = orvane.convert(entry.bytes, {format: 'svg'});
    } catch {
        return;
    }
    const scale = Math.min(1, largeSide / Math.max(svg.pixelsX, svg.pixelsY, 1));
    const canvas = await drawOutlines(svg, Math.max(1, Math.round(svg.pixelsX * scale)), 1);
    if (!canvas)
        return;
    canvas.id = 'large-image';
    canvas.setAttribute('role', 'img');
    canvas.setAttribute('aria-label', 'The page of ' + entry.name);
    $('large-image').replaceWith(canvas);
    $('large-title').textContent = entry.name;
    $('large').showModal();
}

function closedLarge() {
    const canvas = $('large-image');
    canvas.width = 0;
    canvas.height = 0;
}

// Shows a conversion's result on the card; the download link stays the same
// element, so that a click on it is never lost.
function show(entry, key, result) {
    entry.key = key;
    if (entry.url)
        URL.revokeObjectURL(entry.url);
    entry.url = null;
    entry.blob = null;
    entry.item.classList.remove('pending');
    if (result.error) {
        entry.size.textContent = '';
        const message = document.createElement('p');
        message.className = 'error';
        message.textContent = result.error;
        entry.result.replaceChildren(message);
        entry.link = null;
        return;
    }
    entry.blob = result.blob;
    entry.url = URL.createObjectURL(result.blob);
    entry.size.textContent = result.pixelsX + ' × ' + result.pixelsY + ' pixels';
    if (!entry.link) {
        const link = document.createElement('a');
        link.className = 'download';
        link.addEventListener('click', (event) => downloadOne(event, entry));
        entry.result.replaceChildren(link);
        entry.link = link;
    }
    const name = fileName(entry.name, key.split('\n')[0]);
    entry.link.href = entry.url;
    entry.link.download = name;
    entry.link.textContent = 'Download ' + name;
}

// A link clicked before its card caught up with the format or width: the
// file is converted first, then downloaded.
function downloadOne(event, entry) {
    if (entry.key === settingsKey())
        return;
    event.preventDefault();
    convertEntry(entry).then(() => {
        if (entry.key === settingsKey() && entry.link)
            entry.link.click();
    });
}

// Converts the entry to the current settings once, however often asked.
function convertEntry(entry) {
    const key = settingsKey();
    if (entry.key === key)
        return Promise.resolve();
    if (entry.work && entry.workKey === key)
        return entry.work;
    entry.workKey = key;
    entry.work = produce(entry, settings.format, settings.width).then((result) => {
        if (entry.workKey === key && entries.includes(entry))
            show(entry, key, result);
        if (entry.workKey === key)
            entry.work = null;
    });
    return entry.work;
}

function waiting() {
    const key = settingsKey();
    return entries.filter((entry) => entry.key !== key || !entry.previewDone);
}

function schedule() {
    if (!orvane || running)
        return;
    running = (async () => {
        for (let next = waiting(); next.length > 0; next = waiting()) {
            const entry = next[0];
            const done = entries.length - next.length;
            $('status').textContent = `Converting… ${done} of ${entries.length} done.`;
            $('all').disabled = true;
            $('all-hint').textContent = 'Ready when every file is converted.';
            await convertEntry(entry);
            if (!entry.previewDone) {
                entry.previewDone = true;
                await yieldToPage();
                await makePreview(entry);
            }
            await yieldToPage();
        }
    })().finally(() => {
        running = null;
        if (waiting().length > 0)
            schedule();
        else
            finish();
    });
}

function finish() {
    $('clear').disabled = entries.length === 0;
    if (!orvane)
        return;
    const converted = entries.filter((entry) => entry.blob).length;
    $('status').textContent = entries.length === 0 ? 'Ready.'
        : `${converted} converted, ${entries.length - converted} failed.`;
    $('all').disabled = converted === 0 || zipping;
    $('all-hint').textContent = '';
}

function newEntry(name, bytes) {
    const item = document.createElement('li');
    item.className = 'card pending';
    const title = document.createElement('h2');
    title.textContent = name;
    const previewSlot = document.createElement('div');
    const size = document.createElement('p');
    size.className = 'size';
    const result = document.createElement('div');
    const remove = document.createElement('button');
    remove.type = 'button';
    remove.className = 'remove';
    remove.textContent = 'Remove';
    remove.setAttribute('aria-label', 'Remove ' + name);
    item.append(title, previewSlot, size, result, remove);
    const entry = {name, bytes, item, previewSlot, size, result, link: null, key: null, blob: null, url: null,
        previewUrl: null, previewDone: false, work: null, workKey: null};
    remove.addEventListener('click', () => removeEntry(entry));
    $('cards').append(item);
    return entry;
}

function release(entry) {
    for (const address of [entry.url, entry.previewUrl]) {
        if (address)
            URL.revokeObjectURL(address);
    }
    entry.item.remove();
}

function removeEntry(entry) {
    const index = entries.indexOf(entry);
    if (index < 0)
        return;
    entries.splice(index, 1);
    release(entry);
    // The keyboard stays in the list: on the next card's button, or the last.
    const next = entries[index] || entries[index - 1];
    (next ? next.item.querySelector('.remove') : $('files')).focus();
    if (!running)
        finish();
}

function clearAll() {
    for (const entry of entries)
        release(entry);
    entries = [];
    $('files').focus();
    if (!running)
        finish();
}

// files: File objects, or anything with a name and arrayBuffer().
async function addFiles(files) {
    const list = [...files];
    if (list.length === 0)
        return;
    const read = await Promise.all(list.map((file) => file.arrayBuffer().then(
        (buffer) => new Uint8Array(buffer),
        () => new Uint8Array(0)))); // unreadable: the core says it cannot load it
    for (const [i, file] of list.entries())
        entries.push(newEntry(file.name, read[i]));
    $('clear').disabled = false;
    schedule();
}

function chooseFormat() {
    settings.format = $('format').value;
    remember('format', settings.format);
    changed();
}

// The width is checked at the field; cards only see widths it accepts.
function applyWidth() {
    const field = $('width');
    const text = field.value.trim();
    const valid = validWidth(text) !== null;
    field.setAttribute('aria-invalid', String(!valid));
    $('width-hint').classList.toggle('invalid', !valid);
    $('width-hint').textContent = valid ? widthHint
        : `"${text}" is not a width: leave it blank for the page's own size, or type a whole number from 1 to `
            + `${widthLimit}.`;
    if (!valid || text === settings.width)
        return;
    settings.width = text;
    remember('width', text);
    changed();
}

function changed() {
    for (const entry of entries)
        entry.item.classList.add('pending');
    schedule();
}

// The zip is written a piece at a time, with the page free in between.
async function downloadAll() {
    const ready = entries.filter((entry) => entry.blob && entry.key === settingsKey());
    if (ready.length === 0 || zipping)
        return;
    zipping = true;
    $('all').disabled = true;
    try {
        const {Zip, ZipDeflate} = await import('./fflate.mjs');
        const parts = [];
        let failure = null;
        const zip = new Zip((error, chunk) => {
            if (error)
                failure = error;
            else
                parts.push(chunk);
        });
        const names = new Set();
        for (const [i, entry] of ready.entries()) {
            $('status').textContent = `Writing the zip… ${i} of ${ready.length} files done.`;
            const name = fileName(entry.name, settings.format);
            let unique = name;
            for (let n = 2; names.has(unique); ++n)
                unique = name.replace(/(\.[^.]*)$/, `-${n}$1`);
            names.add(unique);
            const file = new ZipDeflate(unique, {level: 6});
            zip.add(file);
            const bytes = new Uint8Array(await entry.blob.arrayBuffer());
            for (let at = 0; ; at += zipChunk) {
                const last = at + zipChunk >= bytes.length;
                file.push(bytes.subarray(at, at + zipChunk), last);
                await yieldToPage();
                if (last)
                    break;
            }
        }
        zip.end();
        if (failure)
            throw failure;
        if (zipUrl)
            URL.revokeObjectURL(zipUrl);
        zipUrl = URL.createObjectURL(new Blob(parts, {type: 'application/zip'}));
        const link = document.createElement('a');
        link.href = zipUrl;
        link.download = 'orvane-' + settings.format + '.zip';
        document.body.append(link);
        link.click();
        link.remove();
    } catch (error) {
        $('status').textContent = 'The zip could not be written: ' + error.message;
        zipping = false;
        $('all').disabled = false;
        return;
    }
    zipping = false;
    if (!running)
        finish();
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

// Files the system opens with the installed app.
function watchLaunches() {
    if (!('launchQueue' in window))
        return;
    window.launchQueue.setConsumer(async (launch) => {
        const files = await Promise.all((launch.files || []).map((handle) => handle.getFile()));
        addFiles(files);
    });
}

// Files shared to the installed app, which the service worker kept.
async function takeShared() {
    const count = Number(new URLSearchParams(location.search).get('shared'));
    if (!count || !('caches' in window))
        return;
    history.replaceState(null, '', location.pathname);
    const cache = await caches.open('orvane-shared');
    const files = [];
    for (let i = 0; i < count; ++i) {
        const response = await cache.match(`shared/${i}`);
        if (response) {
            const name = decodeURIComponent(response.headers.get('X-Name') || 'shared.pat');
            files.push(new File([await response.blob()], name));
        }
    }
    await caches.delete('orvane-shared');
    addFiles(files);
}

// The service worker keeps the page for offline use; a new version waits
// until the page next starts, and the page says so.
function watchUpdates() {
    if (!('serviceWorker' in navigator) || location.protocol === 'file:')
        return;
    let restarting = false;
    navigator.serviceWorker.register('sw.js').then((registration) => {
        const tell = () => {
            if (registration.waiting && navigator.serviceWorker.controller)
                $('update').hidden = false;
        };
        tell();
        registration.addEventListener('updatefound', () => registration.installing?.addEventListener('statechange', tell));
    }).catch(() => {
        // Without it the page works as long as the server answers.
    });
    navigator.serviceWorker.addEventListener('controllerchange', () => {
        if (restarting)
            location.reload();
    });
    $('restart').addEventListener('click', async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        restarting = true;
        registration?.waiting?.postMessage('start-new-version');
    });
}

function formatList() {
    const names = [...orvane.formats];
    if (!names.includes('png'))
        names.push('png');
    const select = $('format');
    select.replaceChildren(...names.map((name) => {
        const [label, extension] = formatTexts[name] || [name.toUpperCase(), name];
        return new Option(`${label} (.${extension})`, name);
    }));
    if (!names.includes(settings.format))
        settings.format = names[0];
    select.value = settings.format;
}

// Everything that takes files or settings listens before the converter has
// loaded, so that nothing given early is lost.
function listen() {
    $('files').addEventListener('change', (event) => {
        addFiles(event.target.files);
        event.target.value = '';
    });
    $('format').value = settings.format;
    $('format').addEventListener('change', chooseFormat);
    $('width').value = settings.width;
    $('width').addEventListener('change', applyWidth);
    $('options').addEventListener('submit', (event) => {
        event.preventDefault();
        applyWidth();
    });
    $('all').addEventListener('click', downloadAll);
    $('clear').addEventListener('click', clearAll);
    $('close').addEventListener('click', () => $('large').close());
    $('large').addEventListener('close', closedLarge);
    watchDrops();
    watchLaunches();
    // Chosen before this script ran.
    if ($('files').files.length > 0) {
        addFiles($('files').files);
        $('files').value = '';
    }
}

async function start() {
    listen();
    takeShared();
    watchUpdates();
    orvane = await loading;
    $('version').textContent = orvane.version;
    formatList();
    $('status').textContent = 'Ready.';
    document.body.dataset.ready = String(performance.now());
    schedule();
}

start().catch((error) => {
    $('status').textContent = 'The converter could not start: ' + error.message;
});
