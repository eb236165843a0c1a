// The page in Debian's Chromium: how long after navigation it is ready to
// convert, and how long the largest pattern takes to WMF inside it (median
// of RUNS). Not a test: it prints the figures beside their targets.
//   node bench/web-page.mjs LARGEST.pat [RUNS]
// LARGEST.pat: bench/orvane-make-largest writes it; build/web: scripts/web build.

import {spawn} from 'node:child_process';
import {readFileSync} from 'node:fs';
import {fileURLToPath} from 'node:url';
import {chromium} from '../tests/web/node_modules/playwright-core/index.mjs';

const [largestPath, runsText = '20'] = process.argv.slice(2);
const runs = Number(runsText);
const web = fileURLToPath(new URL('../build/web', import.meta.url));
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', web],
    {stdio: ['ignore', 'pipe', 'ignore']});
const base = await new Promise((resolve) => server.stdout.on('data', (data) => {
    const port = /port (\d+)/.exec(data.toString());
    if (port)
        resolve(`http://127.0.0.1:${port[1]}/`);
}));
const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
});
try {
    const page = await browser.newPage();
    const ready = [];
    for (let i = 0; i < 5; ++i) {
        await page.goto(base + '?run=' + i);
        await page.waitForSelector('body[data-ready]');
        ready.push(Number(await page.evaluate(() => document.body.dataset.ready)));
    }
    const largest = [...readFileSync(largestPath)];
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
    }, {bytes: largest, runs});
    console.log(`page ready after navigation: first ${ready[0].toFixed(0)} ms, median of 5 ${median(ready).toFixed(0)} ms (target 300)`);
    console.log(`largest pattern to WMF: median of ${runs} ${median(times).toFixed(1)} ms, first ${times[0].toFixed(1)} ms (target 100)`);
} finally {
    await browser.close();
    server.kill();
}
