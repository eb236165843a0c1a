// A classic script, so that it runs where the page's modules cannot: browsers
// load no module from a file: address, and the page would wait forever.
if (location.protocol === 'file:') {
    document.getElementById('status').textContent = 'This page cannot run from a file: serve its folder '
        + 'with a web server (for example, run "python3 -m http.server" in it) and open the address it prints.';
}
