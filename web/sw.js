// Keeps every file of the page, so that it starts and works without the
// server. scripts/web writes the build's id and its files in place of the two
// lines below; a new id installs beside the running version and takes over
// when no page uses the old one (or when the page asks it to).
const build = 'development';
const files = ['./'];
const cacheName = 'orvane-' + build;
// Files shared to the installed app wait here until the page takes them.
const sharedName = 'orvane-shared';

self.addEventListener('install', (event) => {
    event.waitUntil(caches.open(cacheName).then((cache) =>
        cache.addAll(files.map((file) => new Request(file, {cache: 'reload'})))));
});

self.addEventListener('activate', (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names
            .filter((name) => name.startsWith('orvane-') && name !== cacheName && name !== sharedName)
            .map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});

self.addEventListener('message', (event) => {
    if (event.data === 'start-new-version')
        self.skipWaiting();
});

async function keepShared(request) {
    const form = await request.formData();
    const cache = await caches.open(sharedName);
    let count = 0;
    for (const file of form.getAll('files')) {
        if (!(file instanceof File))
            continue;
        const headers = {'Content-Type': 'application/octet-stream', 'X-Name': encodeURIComponent(file.name)};
        await cache.put(`shared/${count++}`, new Response(file, {headers}));
    }
    return Response.redirect('./?shared=' + count, 303);
}

self.addEventListener('fetch', (event) => {
    const url = new URL(event.request.url);
    if (event.request.method === 'POST' && url.href === new URL('share', self.registration.scope).href) {
        event.respondWith(keepShared(event.request));
        return;
    }
    if (event.request.method !== 'GET' || url.origin !== self.location.origin)
        return;
    event.respondWith(caches.open(cacheName)
        .then((cache) => cache.match(event.request, {ignoreSearch: true}))
        .then((kept) => kept || fetch(event.request)));
});
