// The page in Debian's Chromium, driven by playwright-core: the seven
// examples and a garbage file dropped in, every download against
// orvane-convert, "Download all", keyboard, zoom, colours and requests; files
// given while it loads, widths, the canvas limit, many and large files. One
// browser for all of it, to keep CI short; the service worker is off here
// (app_test.mjs covers it).
//   ORVANE_CONVERT, ORVANE_WEB  as for api_test.mjs
//   ORVANE_SCREENSHOT           where the screenshot goes (default docs/web-page.png)

import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';
import {chromiumOptions, largestPattern, serve} from './support.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const converter = process.env.ORVANE_CONVERT || join(root, 'build/debug/app/orvane-convert');
const web = process.env.ORVANE_WEB || join(root, 'build/web');
const screenshot = process.env.ORVANE_SCREENSHOT || join(root, 'docs/web-page.png');
const examples = readdirSync(join(root, 'examples')).filter((name) => name.endsWith('.pat')).sort();
const scratch = mkdtempSync(join(tmpdir(), 'orvane-page-'));
const environment = {...process.env, HOME: scratch, XDG_CONFIG_HOME: scratch, XDG_CACHE_HOME: scratch};
const garbage = Buffer.from('not a pattern at all\n');

let server;
let browser;
let context;
let page;
let base;
const requests = [];

function linux(args) {
    const result = spawnSync(converter, args, {env: environment, maxBuffer: 1 << 28});
    assert.equal(result.status, 0, `orvane-convert ${args.join(' ')}: ${result.stderr}`);
    return result.stdout;
}

// A page of its own, with its own storage, on the same browser.
async function freshPage() {
    const own = await browser.newContext({acceptDownloads: true, serviceWorkers: 'block'});
    return own.newPage();
}

const status = (on) => on.textContent('#status');
const finished = (count) => new RegExp(`^${count} converted`);

async function waitFinished(on, count, timeout = 30000) {
    await on.waitForFunction((pattern) => new RegExp(pattern).test(document.querySelector('#status').textContent),
        finished(count).source, {timeout});
}

const exampleFile = (name, as = name) => ({name: as, mimeType: 'application/octet-stream',
    buffer: readFileSync(join(root, 'examples', name))});

// The largest renderer's resident memory, in MiB.
async function rendererMiB() {
    const session = await browser.newBrowserCDPSession();
    const {processInfo} = await session.send('SystemInfo.getProcessInfo');
    await session.detach();
    let largest = 0;
    for (const {id} of processInfo.filter((process) => process.type === 'renderer')) {
        const kib = /VmRSS:\s+(\d+)/.exec(readFileSync(`/proc/${id}/status`, 'utf8'))?.[1];
        largest = Math.max(largest, Number(kib || 0) / 1024);
    }
    return Math.round(largest);
}

async function chooseFormat(format) {
    await page.selectOption('#format', format);
    await page.waitForFunction((f) => document.querySelector('#format').value === f
        && /converted/.test(document.querySelector('#status').textContent)
        && document.querySelectorAll('.card').length === 8
        && document.querySelectorAll('.card a.download').length === 7
        // Previews still loading would move the links under the clicks.
        && [...document.images].every((image) => image.complete), format);
}

// Chromium's limit on downloads in a row now and then drops one whose click
// came close behind another; the click is then repeated.
async function download(action) {
    for (let attempt = 1; ; ++attempt) {
        try {
            const [file] = await Promise.all([page.waitForEvent('download', {timeout: 5000}), action()]);
            return {name: file.suggestedFilename(), bytes: readFileSync(await file.path())};
        } catch (error) {
            if (error.name !== 'TimeoutError' || attempt === 3)
                throw error;
            console.log(`download retried (${attempt})`);
        }
    }
}

async function downloadEach() {
    const files = [];
    for (const link of await page.locator('.card a.download').all())
        files.push(await download(() => link.click()));
    return files;
}

// A PNG's pixels through netpbm, as RGB.
function pixels(png) {
    const pnm = spawnSync('pngtopnm', {input: png, maxBuffer: 1 << 28}).stdout;
    const header = /^(P[56])\s+(\d+)\s+(\d+)\s+(\d+)\s/.exec(pnm.subarray(0, 64).toString('latin1'));
    const [text, magic, width, height] = header;
    const data = pnm.subarray(text.length);
    const channels = magic === 'P6' ? 3 : 1;
    const rgb = new Uint8Array(width * height * 3);
    for (let i = 0; i < width * height; ++i) {
        for (let c = 0; c < 3; ++c)
            rgb[i * 3 + c] = data[i * channels + (channels === 3 ? c : 0)];
    }
    return {width: Number(width), height: Number(height), rgb};
}

// Pixels of a that no pixel of b within one pixel comes close to: what is
// left once the two renderers' different edge smoothing is set aside.
function unmatched(a, b) {
    let count = 0;
    for (let y = 0; y < a.height; ++y) {
        for (let x = 0; x < a.width; ++x) {
            let close = false;
            for (let dy = -1; dy <= 1 && !close; ++dy) {
                for (let dx = -1; dx <= 1 && !close; ++dx) {
                    const nx = x + dx;
                    const ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= b.width || ny >= b.height)
                        continue;
                    let difference = 0;
                    for (let c = 0; c < 3; ++c)
                        difference = Math.max(difference, Math.abs(a.rgb[(y * a.width + x) * 3 + c] - b.rgb[(ny * b.width + nx) * 3 + c]));
                    close = difference <= 128;
                }
            }
            if (!close)
                ++count;
        }
    }
    return count;
}

before(async () => {
    ({base, server} = await serve(web));
    browser = await chromium.launch(chromiumOptions);
    context = await browser.newContext({acceptDownloads: true, viewport: {width: 1280, height: 900},
        serviceWorkers: 'block'});
    context.on('request', (request) => requests.push(request.url()));
    page = await context.newPage();

    await page.goto(base);
    await page.waitForSelector('body[data-ready]');
    const files = examples.map((name) => ({
        name, mimeType: 'application/octet-stream', buffer: readFileSync(join(root, 'examples', name)),
    }));
    files.push({name: 'garbage.pat', mimeType: 'application/octet-stream', buffer: garbage});
    await page.setInputFiles('#files', files);
    await page.waitForFunction(() => /converted/.test(document.querySelector('#status').textContent));
});

after(async () => {
    await browser?.close();
    server?.kill();
});

test('seven cards show a preview and their size, the garbage card the message', async () => {
    const cards = await page.$$eval('.card', (items) => items.map((item) => ({
        name: item.querySelector('h2').textContent,
        preview: item.querySelector('img')?.naturalWidth ?? 0,
        size: item.querySelector('.size')?.textContent ?? '',
        error: item.querySelector('.error')?.textContent ?? '',
    })));
    const house = JSON.parse(spawnSync(converter, ['--info', join(root, 'examples/house-v1.1.pat')], {env: environment}).stdout);

    assert.deepEqual(cards.map((card) => card.name), [...examples, 'garbage.pat']);
    assert.deepEqual(cards.filter((card) => card.preview > 0).map((card) => card.name), examples);
    assert.equal(cards[examples.indexOf('house-v1.1.pat')].size, `${house.pixels[0]} × ${house.pixels[1]} pixels`);
    assert.match(cards.at(-1).error, /^The selected file could not be loaded\./);
    await page.screenshot({path: screenshot, fullPage: true});
});

test('downloads are byte-identical to orvane-convert in every core format', async () => {
    const extensions = {wmf: '.wmf', placeable: '.wmf', svg: '.svg', pdf: '.pdf'};
    for (const format of Object.keys(extensions)) {
        await chooseFormat(format);

        const files = await downloadEach();

        for (const [i, example] of examples.entries()) {
            const expected = linux(['--format', format, '-o', '-', join(root, 'examples', example)]);
            assert.equal(files[i].name, example.replace(/\.pat$/, extensions[format]));
            assert.ok(files[i].bytes.equals(expected), `${example} as ${format}: ${files[i].bytes.length} bytes, orvane-convert ${expected.length}`);
        }
    }
});

test('a PNG has the pixels rsvg-convert draws from the SVG, edges aside', async () => {
    await chooseFormat('png');

    const files = await downloadEach();

    for (const [i, example] of examples.entries()) {
        const svgPath = join(scratch, example + '.svg');
        writeFileSync(svgPath, linux(['--format', 'svg', '-o', '-', join(root, 'examples', example)]));
        const {pixels: [width, height]} = JSON.parse(linux(['--info', join(root, 'examples', example)]));
        const reference = pixels(spawnSync('rsvg-convert', ['-w', width, '-h', height, svgPath]).stdout);
        const drawn = pixels(files[i].bytes);
        assert.deepEqual([drawn.width, drawn.height], [width, height], example);
        const differing = unmatched(drawn, reference) + unmatched(reference, drawn);
        assert.equal(differing, 0, `${example}: ${differing} pixels differ beyond the edges`);
    }
});

test('"Download all" unzips to the same files', async () => {
    await chooseFormat('wmf');
    const single = await downloadEach();

    const zip = await download(() => page.click('#all'));

    const folder = mkdtempSync(join(scratch, 'zip-'));
    writeFileSync(join(folder, zip.name), zip.bytes);
    const unzip = spawnSync('unzip', ['-q', zip.name], {cwd: folder});
    assert.equal(unzip.status, 0, unzip.stderr?.toString());
    assert.deepEqual(readdirSync(folder).filter((name) => name !== zip.name).sort(), single.map((f) => f.name).sort());
    for (const file of single)
        assert.ok(readFileSync(join(folder, file.name)).equals(file.bytes), file.name);
});

test('the controls are labelled and reached with the keyboard in order', async () => {
    const labels = await page.$$eval('input, select', (items) => items.map((item) => [item.id, item.labels.length]));
    await page.focus('#files');
    const order = ['files'];
    for (let i = 0; i < 6; ++i) {
        await page.keyboard.press('Tab');
        order.push(await page.evaluate(() => document.activeElement.id || document.activeElement.className));
    }

    assert.deepEqual(labels, [['files', 1], ['format', 1], ['width', 1]]);
    assert.deepEqual(order, ['files', 'format', 'width', 'all', 'clear', 'preview', 'download']);
    const file = await download(() => page.keyboard.press('Enter'));
    assert.equal(file.name, examples[0].replace(/\.pat$/, '.wmf'));
});

test('the width typed applies to every card', async () => {
    await page.fill('#width', '500');
    await page.press('#width', 'Enter');
    await page.waitForFunction(() => document.querySelector('.card .size')?.textContent.startsWith('500 '));

    const file = await download(() => page.locator('.card a.download').first().click());

    assert.ok(file.bytes.equals(linux(['--width', '500', '-o', '-', join(root, 'examples', examples[0])])), examples[0]);
    await page.fill('#width', '');
    await page.press('#width', 'Enter');
});

test('at 200 % zoom nothing needs scrolling sideways', async () => {
    await page.setViewportSize({width: 640, height: 450});

    const widths = await page.evaluate(() => [document.documentElement.scrollWidth, document.documentElement.clientWidth]);

    assert.equal(widths[0], widths[1]);
    await page.setViewportSize({width: 1280, height: 900});
});

test('the colours follow the system setting', async () => {
    const background = () => page.evaluate(() => getComputedStyle(document.body).backgroundColor);

    await page.emulateMedia({colorScheme: 'dark'});
    const dark = await background();
    await page.emulateMedia({colorScheme: 'light'});
    const light = await background();

    assert.deepEqual([dark, light], ['rgb(22, 22, 26)', 'rgb(250, 250, 250)']);
});

test('the page shows the version and the privacy line', async () => {
    const version = spawnSync(converter, ['--version'], {env: environment}).stdout.toString();

    const text = await page.textContent('body');

    assert.match(text, /Your files never leave this computer/);
    const shown = await page.textContent('#version');
    assert.ok(shown.length > 0 && version.includes(shown), `${JSON.stringify(shown)} in ${JSON.stringify(version)}`);
});

test('a link clicked right after typing a width downloads the file at that width', async () => {
    await page.fill('#width', '300');

    const [file] = await Promise.all([page.waitForEvent('download', {timeout: 10000}),
        page.locator('.card a.download').first().click()]);

    const bytes = readFileSync(await file.path());
    const expected = linux(['--width', '300', '-o', '-', join(root, 'examples', examples[0])]);
    assert.ok(bytes.equals(expected), `${bytes.length} bytes, orvane-convert ${expected.length}`);
    await page.fill('#width', '');
    await page.press('#width', 'Enter');
    await waitFinished(page, 7);
});

test('a width the field does not take is said once, at the field, with the limits', async () => {
    await page.fill('#width', '12abc');
    await page.press('#width', 'Enter');
    await page.waitForSelector('#width[aria-invalid=true]', {timeout: 5000});

    const hint = await page.textContent('#width-hint');
    const errors = await page.$$eval('.card .error', (items) => items.map((item) => item.textContent));

    assert.match(hint, /1 to 32767/);
    assert.equal(errors.length, 1, errors.join('\n'));
    await page.fill('#width', '');
    await page.press('#width', 'Enter');
    assert.equal(await page.getAttribute('#width', 'aria-invalid'), 'false');
});

test('a click on a preview opens the page large, and Escape closes it', async () => {
    const house = JSON.parse(linux(['--info', join(root, 'examples', examples[0])]));

    await page.locator('.card .preview').first().click();
    await page.waitForSelector('#large[open]');
    const shown = await page.evaluate(() => [document.querySelector('#large').open,
        document.querySelector('#large-image').width]);
    await page.keyboard.press('Escape');
    await page.waitForSelector('#large:not([open])', {state: 'attached'});

    assert.deepEqual(shown, [true, house.pixels[0]]);
    assert.equal(await page.evaluate(() => document.querySelector('#large').open), false);
});

test('one file is removed, then all', async () => {
    await page.locator('.card .remove').last().click();
    const left = await page.$$eval('.card h2', (items) => items.map((item) => item.textContent));
    const afterOne = await status(page);

    await page.click('#clear');

    assert.deepEqual(left, examples);
    assert.equal(afterOne, '7 converted, 0 failed.');
    assert.equal(await page.locator('.card').count(), 0);
    assert.equal(await status(page), 'Ready.');
    assert.equal(await page.isDisabled('#all'), true);
});

test('files chosen while the converter loads are converted once it has', async () => {
    const early = await freshPage();
    let release;
    const held = new Promise((resolve) => {
        release = resolve;
    });
    await early.route('**/orvane-core.wasm', async (route) => {
        await held;
        await route.continue();
    });
    await early.goto(base);

    await early.setInputFiles('#files', [exampleFile('house-v1.1.pat')]);
    const meanwhile = await status(early);
    release();
    await waitFinished(early, 1, 10000);

    assert.equal(meanwhile, 'Loading the converter…');
    assert.equal(await early.locator('.card a.download').count(), 1);
    await early.context().close();
});

test('a PNG larger than the canvas holds gets orvane-convert\'s sentence', async () => {
    const wide = await freshPage();
    await wide.goto(base);
    await wide.waitForSelector('body[data-ready]');
    await wide.selectOption('#format', 'png');
    await wide.fill('#width', '20000');
    await wide.press('#width', 'Enter');

    await wide.setInputFiles('#files', [exampleFile('house-v1.1.pat')]);
    await waitFinished(wide, 0);

    const shown = await wide.textContent('.card .error');
    const printed = spawnSync(converter, ['--format', 'png', '--width', '20000', '-o', join(scratch, 'house-v1.1.png'),
        join(root, 'examples', 'house-v1.1.pat')], {env: environment}).stderr.toString();
    const [first, reason] = shown.split('\n\n');
    assert.equal(first, 'Error creating PNG file house-v1.1.png.');
    assert.match(reason, /^A PNG image holds at most 268435456 pixels;/);
    assert.ok(printed.includes(reason), `${JSON.stringify(reason)} in ${JSON.stringify(printed)}`);
    await wide.context().close();
});

test('the format and the width are there again after a reload', async () => {
    const again = await freshPage();
    await again.goto(base);
    await again.waitForSelector('body[data-ready]');
    await again.selectOption('#format', 'svg');
    await again.fill('#width', '640');
    await again.press('#width', 'Enter');

    await again.reload();
    await again.waitForSelector('body[data-ready]');

    assert.deepEqual([await again.inputValue('#format'), await again.inputValue('#width')], ['svg', '640']);
    await again.context().close();
});

test('from a file: address the page says how to serve it', async () => {
    const local = await freshPage();

    await local.goto('file://' + join(web, 'index.html'));
    await local.waitForLoadState('load');

    assert.match(await status(local), /^This page cannot run from a file: serve its folder with a web server/);
    await local.context().close();
});

test('200 files convert one at a time, saying how far they are and why "Download all" waits', async () => {
    const many = await freshPage();
    await many.goto(base);
    await many.waitForSelector('body[data-ready]');
    const files = Array.from({length: 200}, (_, i) => exampleFile(examples[i % examples.length], `${i}.pat`));
    await many.setInputFiles('#files', files);
    await waitFinished(many, 200, 60000);
    // What a timer sees between the page's tasks, until the list is done.
    await many.evaluate(() => {
        window.seen = [];
        let started = false;
        const look = () => {
            const text = document.querySelector('#status').textContent;
            window.seen.push([text, document.querySelector('#all-hint').textContent,
                document.querySelector('#all').disabled, document.querySelector('#status').ariaBusy]);
            started ||= !/converted/.test(text);
            if (!started || !/converted/.test(text))
                setTimeout(look);
        };
        look();
    });

    // SVG: nothing in its conversion waits for the browser, so only the
    // page's own breaks let the timer in.
    await many.selectOption('#format', 'svg');
    await waitFinished(many, 200, 60000);

    const seen = await many.evaluate(() => window.seen);
    const progress = new Set(seen.map(([text]) => /^Converting… (\d+) of 200 done\.$/.exec(text)?.[1]).filter(Boolean));
    // Busy while converting, so that screen readers read the end, not every step.
    const waiting = seen.filter(([text, hint, disabled, busy]) => /^Converting/.test(text)
        && hint === 'Ready when every file is converted.' && disabled && busy === 'true');
    assert.ok(progress.size >= 10, `${progress.size} steps seen: ${[...progress].join(' ')}`);
    assert.ok(waiting.length > 0, JSON.stringify(seen.slice(0, 5)));
    assert.equal(await many.getAttribute('#status', 'aria-busy'), 'false');
    await many.context().close();
});

test('the largest pattern ten times, in WMF then SVG, leaves the renderer under 1 GiB', async () => {
    const large = await freshPage();
    await large.route('**/largest.pat', (route) => route.fulfill({body: largestPattern()}));
    await large.goto(base);
    await large.waitForSelector('body[data-ready]');

    // Dropped, as from a file manager.
    await large.evaluate(async () => {
        const bytes = await (await fetch('largest.pat')).arrayBuffer();
        const transfer = new DataTransfer();
        for (let i = 0; i < 10; ++i)
            transfer.items.add(new File([bytes], `largest-${i}.pat`));
        document.querySelector('#drop').dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true}));
    });
    await waitFinished(large, 10, 120000);
    const afterWmf = await rendererMiB();
    await large.selectOption('#format', 'svg');
    await waitFinished(large, 10, 120000);
    const afterSvg = await rendererMiB();

    assert.ok(Math.max(afterWmf, afterSvg) < 1024, `${afterWmf} MiB after WMF, ${afterSvg} MiB after SVG`);
    await large.context().close();
});

// Last, so that it sees every request the tests above made.
test('no request leaves 127.0.0.1', () => {
    const outside = requests.filter((url) => !url.startsWith(base) && !url.startsWith('blob:') && !url.startsWith('data:'));

    assert.deepEqual(outside, []);
    assert.ok(requests.includes(base + 'orvane-core.wasm'), requests.join(' '));
});
