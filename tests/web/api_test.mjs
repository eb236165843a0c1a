// build/web/orvane.mjs under node against the Linux orvane-convert: the same
// bytes for every example, format and width, and the window's messages.
//   ORVANE_CONVERT  the Linux converter (default build/debug/app/orvane-convert)
//   ORVANE_WEB      the built page (default build/web)

import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {test} from 'node:test';
import {fileURLToPath, pathToFileURL} from 'node:url';

const root = fileURLToPath(new URL('../..', import.meta.url));
const converter = process.env.ORVANE_CONVERT || join(root, 'build/debug/app/orvane-convert');
const web = process.env.ORVANE_WEB || join(root, 'build/web');
const examples = readdirSync(join(root, 'examples')).filter((name) => name.endsWith('.pat')).sort();

// No stored defaults, as in the browser.
const home = mkdtempSync(join(tmpdir(), 'orvane-web-'));
const environment = {...process.env, HOME: home, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home};

function linux(args) {
    return spawnSync(converter, args, {env: environment, maxBuffer: 1 << 28});
}

const {default: loadOrvane} = await import(pathToFileURL(join(web, 'orvane.mjs')).href);
const orvane = await loadOrvane();

test('the API lists the core formats and the version', () => {
    const version = execFileSync(converter, ['--version'], {env: environment}).toString();

    assert.deepEqual(orvane.formats, ['wmf', 'placeable', 'svg', 'pdf']);
    assert.ok(version.includes(orvane.version), `${JSON.stringify(version)} names ${orvane.version}`);
});

test('every example converts to the same bytes as orvane-convert', () => {
    for (const example of examples) {
        const bytes = readFileSync(join(root, 'examples', example));
        for (const format of ['wmf', 'placeable', 'svg', 'pdf']) {
            for (const width of ['', '10', '500', '2000']) {
                const args = ['--format', format, '-o', '-', join(root, 'examples', example)];
                if (width)
                    args.unshift('--width', width);
                const expected = linux(args);
                assert.equal(expected.status, 0, `${example} ${format} ${width}: ${expected.stderr}`);

                const output = orvane.convert(bytes, {format, width});

                assert.ok(Buffer.from(output).equals(expected.stdout),
                    `${example} as ${format} at width "${width}": ${output.length} bytes, orvane-convert ${expected.stdout.length}`);
            }
        }
    }
});

test('the output carries its size in pixels', () => {
    const bytes = readFileSync(join(root, 'examples', 'house-v1.1.pat'));

    const output = orvane.convert(bytes, {format: 'svg', width: 408});

    assert.deepEqual([output.pixelsX, output.pixelsY], [408, 528]);
});

// Neither copies a pattern's picture: both say how many bytes it holds.
test('info is what orvane-convert --info prints, as an object', () => {
    for (const example of examples) {
        const expected = JSON.parse(linux(['--info', join(root, 'examples', example)]).stdout.toString());

        const result = orvane.info(readFileSync(join(root, 'examples', example)));

        assert.deepEqual(result, expected, example);
    }
});

// orvane-convert prints the window's message on one line, after the file's name.
const flat = (text) => text.replace(/\s+/g, ' ').trim();

function linuxMessage(name, bytes, args = []) {
    const path = join(home, name);
    execFileSync('sh', ['-c', 'cat > "$0"', path], {input: bytes});
    const result = linux([...args, '-o', '-', path]);
    assert.notEqual(result.status, 0, `orvane-convert accepted ${name}`);
    return result.stderr.toString();
}

test('files that fail throw the window message', () => {
    const house = readFileSync(join(root, 'examples', 'house-v1.1.pat'));
    const cases = [
        {name: 'garbage.pat', bytes: Buffer.from('not a pattern at all\n'), options: {}},
        {name: 'truncated.pat', bytes: house.subarray(0, 100), options: {}},
        {name: 'wide.pat', bytes: house, options: {width: '99999'}},
    ];
    for (const {name, bytes, options} of cases) {
        const args = options.width ? ['--width', options.width] : [];
        const printed = linuxMessage(name, bytes, args);

        assert.throws(() => orvane.convert(bytes, options), (error) => {
            assert.ok(error instanceof Error, `${name}: ${error}`);
            assert.ok(error.message.length > 0, `${name}: empty message`);
            assert.ok(flat(printed).includes(flat(error.message)),
                `${name}: ${JSON.stringify(error.message)} is not in ${JSON.stringify(printed)}`);
            return true;
        });
    }
});

test('a message keeps its line breaks, as \\n alone', () => {
    const garbage = Buffer.from('not a pattern');

    assert.throws(() => orvane.convert(garbage), (error) => {
        assert.equal(error.message, 'The selected file could not be loaded.\n\n'
            + 'The file format is unknown or was made with later version of the Veltrum Pattern Maker.');
        return true;
    });
});

test('an unknown format throws', () => {
    const house = readFileSync(join(root, 'examples', 'house-v1.1.pat'));

    assert.throws(() => orvane.convert(house, {format: 'tiff'}), /tiff format is not available/);
});

test('the pattern is a Uint8Array or an ArrayBuffer, anything else a TypeError', () => {
    const house = readFileSync(join(root, 'examples', 'house-v1.1.pat'));
    const copy = new Uint8Array(house);
    const refused = [undefined, null, 'house-v1.1.pat', [...copy], new Uint16Array(copy), {length: 3}];

    const fromBuffer = orvane.convert(copy.buffer);

    assert.ok(Buffer.from(fromBuffer).equals(Buffer.from(orvane.convert(copy))), `${fromBuffer.length} bytes`);
    for (const bytes of refused) {
        const kind = Object.prototype.toString.call(bytes);
        assert.throws(() => orvane.convert(bytes), TypeError, `convert(${kind})`);
        assert.throws(() => orvane.info(bytes), TypeError, `info(${kind})`);
    }
});
