// What the page's tests and bench/web-page.mjs share: a static server, the
// browser's flags and the largest pattern a file can hold.

import {spawn} from 'node:child_process';

// Debian's Chromium, never a downloaded one, with nothing reaching outside.
export const chromiumOptions = {
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
};

// Serves folder on a free port of 127.0.0.1: {base, server}.
export function serve(folder) {
    const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', folder],
        {stdio: ['ignore', 'pipe', 'ignore']});
    return new Promise((resolve, reject) => {
        server.stdout.on('data', (data) => {
            const port = /port (\d+)/.exec(data.toString());
            if (port)
                resolve({base: `http://127.0.0.1:${port[1]}/`, server});
        });
        server.on('exit', (code) => reject(new Error('http.server ended: ' + code)));
    });
}

// The pattern bench/orvane-make-largest writes: 32767 long lines across the
// letter page and 32767 overlapping shapes of every kind.
export function largestPattern() {
    const bytes = [];
    const integer = (v) => bytes.push(v & 0xFF, (v >> 8) & 0xFF);
    const single = (v) => {
        const view = new DataView(new ArrayBuffer(4));
        view.setFloat32(0, v, true);
        bytes.push(...new Uint8Array(view.buffer));
    };
    const text = (s) => {
        integer(s.length);
        bytes.push(...Buffer.from(s, 'latin1'));
    };
    text('Veltrum Pattern Maker');
    integer(2);
    integer(1);
    integer(0);
    text('');
    // Margins, page size, pen, bitmap size, metric flags: the defaults.
    for (const v of [0.5, 0.5, 0.5, 0.5, 8.5, 11.0, 0.03125])
        single(v);
    integer(0);
    integer(0xFF);
    integer(0);
    text('1/32');
    for (const v of [2.0, 400.0, 500.0])
        single(v);
    integer(0);
    integer(0);
    integer(32767);
    for (let i = 0; i < 32767; ++i) {
        for (const v of [i % 12240, i % 15840, (i * 7) % 12240, (i * 13) % 15840])
            single(v);
    }
    integer(32767);
    for (let i = 0; i < 32767; ++i) {
        integer(i % 6);
        for (const v of [i % 14000, i % 11000, 800, 1000])
            single(v);
    }
    integer(0);
    return Buffer.from(bytes);
}
