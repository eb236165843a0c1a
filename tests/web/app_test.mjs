// The page as an installed app, in one Chromium profile of its own: it is
// installable, takes files the system opens or shares with it, tells of a new
// version and takes it on the next start, and works with the server stopped.
// The tests run in order on one served copy of the page.
//   ORVANE_WEB  the built page (default build/web)

import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {cpSync, mkdtempSync, readFileSync, readdirSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';
import {chromiumOptions, serve} from './support.mjs';

const root = fileURLToPath(new URL('../..', import.meta.url));
const web = process.env.ORVANE_WEB || join(root, 'build/web');
const examples = readdirSync(join(root, 'examples')).filter((name) => name.endsWith('.pat')).sort();
const scratch = mkdtempSync(join(tmpdir(), 'orvane-app-'));
// A copy, so that a test can publish a new version of it.
const site = join(scratch, 'site');
cpSync(web, site, {recursive: true});

let server;
let base;
let context;
let page;

const exampleBytes = (name) => [...readFileSync(join(root, 'examples', name))];

async function ready(on) {
    await on.waitForSelector('body[data-ready]');
}

async function waitFinished(on, count) {
    await on.waitForFunction((text) => document.querySelector('#status').textContent.startsWith(text),
        `${count} converted`, {timeout: 30000});
}

before(async () => {
    ({base, server} = await serve(site));
    context = await chromium.launchPersistentContext(join(scratch, 'profile'), {...chromiumOptions,
        acceptDownloads: true});
    page = context.pages()[0] || await context.newPage();
    await page.goto(base);
    await ready(page);
    // The first visit installs the service worker, which then takes the page.
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null, null, {timeout: 30000});
});

after(async () => {
    await context?.close();
    server?.kill();
});

test('the browser finds the page installable', async () => {
    const session = await context.newCDPSession(page);

    const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
    const {errors} = await session.send('Page.getAppManifest');

    assert.deepEqual(installabilityErrors, []);
    assert.deepEqual(errors, []);
});

test('files the system opens with the app are added and converted', async () => {
    const opened = await context.newPage();
    // What the browser hands an installed app that opens files.
    await opened.addInitScript((files) => {
        const handles = files.map(({name, bytes}) => ({getFile: async () => new File([new Uint8Array(bytes)], name)}));
        Object.defineProperty(window, 'launchQueue', {configurable: true, value: {
            setConsumer: (consumer) => consumer({files: handles}),
        }});
    }, examples.slice(0, 2).map((name) => ({name, bytes: exampleBytes(name)})));

    await opened.goto(base);
    await waitFinished(opened, 2);

    assert.deepEqual(await opened.$$eval('.card h2', (items) => items.map((item) => item.textContent)),
        examples.slice(0, 2));
    await opened.close();
});

test('a file shared with the app is added and converted', async () => {
    const shared = await context.newPage();
    await shared.goto(base);
    await ready(shared);
    // What the system's share sheet does: a form posted to the manifest's
    // share_target.
    await shared.evaluate(() => {
        const form = document.createElement('form');
        form.method = 'post';
        form.enctype = 'multipart/form-data';
        form.action = 'share';
        const input = document.createElement('input');
        input.type = 'file';
        input.name = 'files';
        input.id = 'shared-files';
        form.append(input);
        document.body.append(form);
    });
    await shared.setInputFiles('#shared-files', [{name: 'house-v1.1.pat', mimeType: 'application/octet-stream',
        buffer: readFileSync(join(root, 'examples', 'house-v1.1.pat'))}]);

    await shared.evaluate(() => document.querySelector('#shared-files').form.submit());
    await shared.waitForSelector('body[data-ready]:not(:has(#shared-files))');
    await waitFinished(shared, 1);

    assert.equal(await shared.textContent('.card h2'), 'house-v1.1.pat');
    assert.equal(shared.url(), base);
    await shared.close();
});

test('a new version is announced, then started from the page', async () => {
    const worker = join(site, 'sw.js');
    writeFileSync(worker, readFileSync(worker, 'utf8').replace(/^const build = '(.*)';$/m, "const build = '$1-next';"));
    await page.reload();
    await ready(page);
    await page.waitForSelector('#update:not([hidden])', {timeout: 30000});

    // Without the button the browser takes the new version once no page of
    // the old one is open, a moment that depends on the browser; the button
    // takes it at once and reloads the page.
    await Promise.all([page.waitForEvent('load', {timeout: 30000}), page.click('#restart')]);
    await ready(page);

    // The new version, once active, removes the old one's files.
    await page.waitForFunction(async () => (await caches.keys()).filter((name) => name !== 'orvane-shared')
        .every((name) => name.endsWith('-next')), null, {timeout: 30000});
    assert.equal(await page.isHidden('#update'), true);
});

test('with the server stopped, a reload shows the page, converts and zips', async () => {
    server.kill();
    await new Promise((resolve) => server.once('exit', resolve));

    await page.reload();
    await ready(page);
    await page.setInputFiles('#files', examples.map((name) => ({name, mimeType: 'application/octet-stream',
        buffer: readFileSync(join(root, 'examples', name))})));
    await waitFinished(page, examples.length);
    const [zip] = await Promise.all([page.waitForEvent('download'), page.click('#all')]);

    const folder = mkdtempSync(join(scratch, 'zip-'));
    const listing = spawnSync('unzip', ['-Z1', await zip.path()], {cwd: folder}).stdout.toString().split('\n');
    assert.deepEqual(listing.filter(Boolean).sort(), examples.map((name) => name.replace(/\.pat$/, '.wmf')));
});
