#!/usr/bin/env python3
"""Lays out the page that web/build serves, from what emcc linked (LINK_DIR: index.html,
index.js and index.wasm) into SITE_DIR, afresh:

- the script and the wasm take their contents' digest into their names
  (index.1a2b3c4d.wasm), and the files that name them are rewritten to match, so that a server
  can let browsers keep them for good (web/serve) and a new build is never mixed with an old one;
- the script opens with the hint that has Chromium compile all its functions as it downloads;
- the icons (web/icons.py), the web app manifest and the service worker (web/sw.js, told the
  files to keep and named after their digest);
- beside each file that compresses, FILE.gz (gzip -9) and FILE.br (brotli -q 11, where Debian's
  brotli is installed); a compressed copy that saves nothing is left out.

Prints one line a file: its bytes raw, gzipped and brotli'd.
Usage: web/site.py LINK_DIR SITE_DIR
"""
import gzip
import hashlib
import json
import shutil
import subprocess
import sys
from pathlib import Path

web = Path(__file__).resolve().parent
sys.path.insert(0, str(web))
import icons  # noqa: E402


def digest(data):
    return hashlib.sha256(data).hexdigest()[:10]


def main():
    link, site = Path(sys.argv[1]), Path(sys.argv[2])
    if site.exists():
        shutil.rmtree(site)
    site.mkdir(parents=True)

    html = (link / 'index.html').read_text()
    script = (link / 'index.js').read_bytes()
    wasm = (link / 'index.wasm').read_bytes()
    hashed_wasm = f'index.{digest(wasm)}.wasm'
    (site / hashed_wasm).write_bytes(wasm)
    script = script.replace(b'index.wasm', hashed_wasm.encode())
    html = html.replace('"index.wasm"', f'"{hashed_wasm}"')
    # Chromium compiles every function of the script while it downloads, off the page's own
    # thread, instead of each at its first call on it: Emscripten's glue calls most of its
    # functions as the game starts.
    script = b'//# allFunctionsCalledOnLoad\n' + script
    hashed_js = f'index.{digest(script)}.js'
    (site / hashed_js).write_bytes(script)
    html = html.replace('"index.js"', f'"{hashed_js}"')
    (site / 'index.html').write_text(html)

    icons.make(web.parent / 'assets' / 'icons', site)
    shutil.copy(web / 'manifest.webmanifest', site)

    # The service worker keeps everything, the page also under its folder's own name.
    files = sorted(p.name for p in site.iterdir())
    version = digest(b''.join(p.name.encode() + p.read_bytes() for p in sorted(site.iterdir())))
    sw = (web / 'sw.js').read_text().replace('@VERSION@', version)
    sw = sw.replace('@FILES@', json.dumps(['./'] + files))
    (site / 'sw.js').write_text(sw)

    brotli = shutil.which('brotli')
    total = [0, 0, 0]
    for p in sorted(site.iterdir()):
        raw = p.read_bytes()
        sizes = [len(raw), len(raw), len(raw)]
        if p.suffix != '.png':
            gz = gzip.compress(raw, 9, mtime=0)
            if len(gz) < len(raw):
                p.with_name(p.name + '.gz').write_bytes(gz)
                sizes[1] = len(gz)
            if brotli:
                br = p.with_name(p.name + '.br')
                subprocess.run([brotli, '-q', '11', '-f', '-o', str(br), str(p)], check=True)
                if br.stat().st_size < len(raw):
                    sizes[2] = br.stat().st_size
                else:
                    br.unlink()
        total = [t + s for t, s in zip(total, sizes)]
        print(f'{p.name:28} {sizes[0]:9} raw {sizes[1]:9} gzip {sizes[2]:9} brotli')
    print(f'{"in all":28} {total[0]:9} raw {total[1]:9} gzip {total[2]:9} brotli')


if __name__ == '__main__':
    main()
