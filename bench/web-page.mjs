// The page in Debian's Chromium: how long after navigation it is ready to
// convert, how long the largest pattern takes to WMF inside it (median of
// RUNS), and with many and large files the longest task (the page frozen) and
// the renderer's memory. Not a test: it prints the figures beside their targets.
//   node bench/web-page.mjs [LARGEST.pat] [RUNS]
// LARGEST.pat: bench/orvane-make-largest writes it (the same bytes are made
// here without it); build/web: scripts/web build.

import {readFileSync, readdirSync} from 'node:fs';
import {fileURLToPath} from 'node:url';
import {chromium} from '../tests/web/node_modules/playwright-core/index.mjs';
import {chromiumOptions, largestPattern, serve} from '../tests/web/support.mjs';

const [largestPath, runsText = '20'] = process.argv.slice(2);
const runs = Number(runsText);
const root = fileURLToPath(new URL('..', import.meta.url));
const web = fileURLToPath(new URL('../build/web', import.meta.url));
const largest = largestPath ? readFileSync(largestPath) : largestPattern();
const examples = readdirSync(root + 'examples').filter((name) => name.endsWith('.pat')).sort();
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const {base, server} = await serve(web);
const browser = await chromium.launch(chromiumOptions);

// The largest renderer's resident memory, in MiB.
async function rendererMiB() {
    const session = await browser.newBrowserCDPSession();
    const {processInfo} = await session.send('SystemInfo.getProcessInfo');
    await session.detach();
    let most = 0;
    for (const {id} of processInfo.filter((process) => process.type === 'renderer')) {
        const kib = /VmRSS:\s+(\d+)/.exec(readFileSync(`/proc/${id}/status`, 'utf8'))?.[1];
        most = Math.max(most, Number(kib || 0) / 1024);
    }
    return Math.round(most);
}

// A page of its own whose longest task since the last call longest() gives.
async function watchedPage() {
    const context = await browser.newContext({acceptDownloads: true, serviceWorkers: 'block'});
    const page = await context.newPage();
    await page.route('**/largest.pat', (route) => route.fulfill({body: largest}));
    await page.goto(base);
    await page.waitForSelector('body[data-ready]');
    await page.evaluate(() => {
        window.longestTask = 0;
        new PerformanceObserver((list) => {
            for (const entry of list.getEntries())
                window.longestTask = Math.max(window.longestTask, entry.duration);
        }).observe({type: 'longtask'});
    });
    return page;
}

async function longest(page) {
    return Math.round(await page.evaluate(() => {
        const value = window.longestTask;
        window.longestTask = 0;
        return value;
    }));
}

async function finished(page, count) {
    await page.waitForFunction((text) => document.querySelector('#status').textContent.startsWith(text),
        `${count} converted`, {timeout: 600000});
}

// Dropped as from a file manager: the files reach the page in one event.
async function drop(page, files) {
    await page.evaluate(async (list) => {
        const transfer = new DataTransfer();
        for (const {name, from} of list) {
            const bytes = await (await fetch(from)).arrayBuffer();
            transfer.items.add(new File([bytes], name));
        }
        document.querySelector('#drop').dispatchEvent(new DragEvent('drop', {dataTransfer: transfer, bubbles: true}));
    }, files);
}

async function timed(action) {
    const start = performance.now();
    await action();
    return Math.round(performance.now() - start);
}

try {
    const page = await browser.newPage();
    const ready = [];
    for (let i = 0; i < 5; ++i) {
        await page.goto(base + '?run=' + i);
        await page.waitForSelector('body[data-ready]');
        ready.push(Number(await page.evaluate(() => document.body.dataset.ready)));
    }
    const times = await page.evaluate(async ({bytes, runs}) => {
        const {default: loadOrvane} = await import('./orvane.mjs');
        const orvane = await loadOrvane();
        const pattern = new Uint8Array(bytes);
        const times = [];
        for (let i = 0; i < runs; ++i) {
            const start = performance.now();
            orvane.convert(pattern, {format: 'wmf'});
            times.push(performance.now() - start);
        }
        return times;
    }, {bytes: [...largest], runs});
    console.log(`page ready after navigation: first ${ready[0].toFixed(0)} ms, median of 5 ${median(ready).toFixed(0)} ms (target 300)`);
    console.log(`largest pattern to WMF: median of ${runs} ${median(times).toFixed(1)} ms, first ${times[0].toFixed(1)} ms (target 100)`);
    await page.close();

    // 200 examples, then all of them again as PNG.
    const many = await watchedPage();
    await many.route('**/examples/*', (route) =>
        route.fulfill({body: readFileSync(root + 'examples/' + route.request().url().split('/').pop())}));
    const added = await timed(async () => {
        await drop(many, Array.from({length: 200}, (_, i) => ({name: `${i}.pat`,
            from: 'examples/' + examples[i % examples.length]})));
        await finished(many, 200);
    });
    console.log(`200 examples added: ${added} ms, longest task ${await longest(many)} ms (target 200)`);
    await many.selectOption('#format', 'png');
    const png = await timed(() => finished(many, 200));
    console.log(`200 examples to PNG: ${png} ms, longest task ${await longest(many)} ms (target 200)`);
    await many.context().close();

    // The largest pattern ten times, in every format, then "Download all".
    const large = await watchedPage();
    const before = await rendererMiB();
    const first = await timed(async () => {
        await drop(large, Array.from({length: 10}, (_, i) => ({name: `largest-${i}.pat`, from: 'largest.pat'})));
        await finished(large, 10);
    });
    console.log(`largest pattern x10 added: ${first} ms, longest task ${await longest(large)} ms; `
        + `renderer ${before} -> ${await rendererMiB()} MiB (target under 1024)`);
    const formats = await large.$$eval('#format option', (options) => options.map((option) => option.value));
    for (const format of [...formats.slice(1), formats[0]]) {
        await large.selectOption('#format', format);
        const took = await timed(() => finished(large, 10));
        console.log(`  as ${format}: ${took} ms, longest task ${await longest(large)} ms, renderer ${await rendererMiB()} MiB`);
    }
    const zip = await timed(async () => {
        await Promise.all([large.waitForEvent('download', {timeout: 600000}), large.click('#all')]);
    });
    console.log(`"Download all" of the 10 WMFs: ${zip} ms, longest task ${await longest(large)} ms (target 200)`);
} finally {
    await browser.close();
    server.kill();
}
