#!/usr/bin/env python3
"""Runs bench_gestures on the largest real pages (20 unless told), each page unpacked into a
temporary folder. Pictures and sheets at http(s) addresses are refused at once through a
proxy address that nothing listens on, as a saved page shows without the network.

gesture_pages.py BUILD_DIR [PAGES_DIR] [COUNT]"""
import gzip
import os
import subprocess
import sys
import tempfile

build = sys.argv[1]
pages = sys.argv[2] if len(sys.argv) > 2 else os.path.join(
    os.path.dirname(__file__), "..", "..", "..", "shared", "real-pages")
count = int(sys.argv[3]) if len(sys.argv) > 3 else 20
sizes = []
for name in sorted(os.listdir(pages)):
    source = os.path.join(pages, name, "source.html.gz")
    if os.path.exists(source):
        with gzip.open(source) as f:
            sizes.append((len(f.read()), name, source))
sizes.sort(reverse=True)
with tempfile.TemporaryDirectory() as folder:
    files = []
    for _, name, source in sizes[:count]:
        target = os.path.join(folder, name + ".html")
        with gzip.open(source) as f, open(target, "wb") as out:
            out.write(f.read())
        files.append(target)
    env = dict(os.environ, http_proxy="http://127.0.0.1:9", https_proxy="http://127.0.0.1:9",
               HTTP_PROXY="http://127.0.0.1:9", HTTPS_PROXY="http://127.0.0.1:9",
               ALL_PROXY="http://127.0.0.1:9")
    sys.exit(subprocess.call([os.path.join(build, "bench", "selection", "bench_gestures")] + files,
                             env=env))
