// The page: reads the chosen, dropped, opened or shared pattern files,
// converts each in the WebAssembly core (in worker.mjs, a thread of its own)
// and offers the results; nothing is sent anywhere. A file keeps its card for
// as long as it is on the page: a change of format or width converts the
// files again one at a time and updates each card in place.

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
// Metafiles hold coordinates up to 32767, and so does the field.
const widthLimit = 32767;
const widthHint = 'Blank keeps the page\'s own size; otherwise a whole number from 1 to 32767.';
// The longer side of a card's preview picture and of the large one, in pixels.
const previewSide = 448;
const largeSide = 4096;
// How much of a file the zip takes between two breaks for the page (256 KiB).
const zipChunk = 1 << 18;

const worker = new Worker('worker.mjs', {type: 'module'});
// The answers awaited from the worker, by request id.
const awaited = new Map();
let requests = 0;
// The worker's id for the last file added.
let lastFile = 0;
// The converter's {formats, version} once it has loaded.
let orvane = null;
// One entry a file, in the order given: {file, name, item, ...} (newEntry).
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

// Gives the page a turn between two pieces of the zip: a task of its own,
// after whatever the page has waiting (input, drawing, timers), without the
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

// Sends the worker a task; resolves to its answer ({error} when it fails).
function ask(task, fields = {}, transfer = []) {
    if (stopped)
        return Promise.resolve({error: stopped});
    const id = ++requests;
    return new Promise((resolve) => {
        awaited.set(id, resolve);
        worker.postMessage({id, task, ...fields}, transfer);
    });
}

worker.onmessage = ({data}) => {
    const resolve = awaited.get(data.id);
    awaited.delete(data.id);
    resolve?.(data);
};

// The worker could not load, or stopped: every request, now and later, gets
// the reason.
let stopped = null;
worker.onerror = (event) => {
    event.preventDefault();
    stopped = 'The converter stopped: ' + (event.message || 'its files could not be loaded.');
    for (const resolve of awaited.values())
        resolve({error: stopped});
    awaited.clear();
};

// {blob, pixelsX, pixelsY}, or {error} with the window's message.
function produce(entry, format, width) {
    return ask('convert', {file: entry.file, format, width, outputName: fileName(entry.name, format)});
}

// One small picture a file, whatever the format: the page at its own size.
async function makePreview(entry) {
    const {blob} = await ask('picture', {file: entry.file, side: previewSide});
    if (!blob || !entries.includes(entry))
        return; // a file that does not load: the card shows the message
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
    const {bitmap} = await ask('picture', {file: entry.file, side: largeSide, bitmap: true});
    if (!bitmap)
        return;
    const canvas = $('large-image');
    canvas.width = bitmap.width;
    canvas.height = bitmap.height;
    canvas.getContext('2d').drawImage(bitmap, 0, 0);
    bitmap.close();
    canvas.setAttribute('aria-label', 'The page of ' + entry.name);
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
            // Screen readers hold a busy region's changes and read the end.
            $('status').setAttribute('aria-busy', 'true');
            $('status').textContent = `Converting… ${done} of ${entries.length} done.`;
            $('all').disabled = true;
            $('all-hint').textContent = 'Ready when every file is converted.';
            await convertEntry(entry);
            if (!entry.previewDone) {
                entry.previewDone = true;
                await makePreview(entry);
            }
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
    $('status').setAttribute('aria-busy', 'false');
    const converted = entries.filter((entry) => entry.blob).length;
    $('status').textContent = entries.length === 0 ? 'Ready.'
        : `${converted} converted, ${entries.length - converted} failed.`;
    $('all').disabled = converted === 0 || zipping;
    $('all-hint').textContent = '';
}

function newEntry(name, bytes) {
    const file = ++lastFile;
    ask('keep', {file, bytes}, [bytes.buffer]);
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
    const entry = {file, name, item, previewSlot, size, result, link: null, key: null, blob: null, url: null,
        previewUrl: null, previewDone: false, work: null, workKey: null};
    remove.addEventListener('click', () => removeEntry(entry));
    $('cards').append(item);
    return entry;
}

function release(entry) {
    ask('forget', {file: entry.file});
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
    const started = await ask('start');
    if (started.error)
        throw new Error(started.error);
    orvane = started;
    $('version').textContent = orvane.version;
    formatList();
    $('status').textContent = 'Ready.';
    document.body.dataset.ready = String(performance.now());
    schedule();
}

start().catch((error) => {
    $('status').textContent = error.message === stopped ? stopped : 'The converter could not start: ' + error.message;
});
