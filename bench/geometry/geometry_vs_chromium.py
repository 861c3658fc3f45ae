#!/usr/bin/env python3
"""Compares the layout engine's boxes with headless Chromium's on fixture pages.

For every page: Chromium loads a copy with a script that reports getBoundingClientRect,
the display type and whether the element holds text, for every element in document
order; layout_boxes (bench/dom) prints the engine's border boxes in the same order. For
the block-level elements that hold text, the script reports the intersection over union
of the two boxes; the table gives per page the elements compared, the median IoU, the
median IoU of the boxes' shapes with their tops aligned and the median drift of their tops
in pixels. The page's own scripts are kept from running in Chromium (a content security
policy that admits only the probe), as the engine runs none. Pages may be gzip files.

    geometry_vs_chromium.py BUILD_DIR [--width 1024] [--shots DIR] page.html[.gz]...
    geometry_vs_chromium.py BUILD_DIR --real-pages ../shared/real-pages

With --real-pages, the pages are the twenty named in real_pages.txt beside this script
(each folder's source.html.gz), chosen once before any tuning; the figure to reach is 18 of
them within a shape IoU of 0.9 and a drift of 20 px.

With --shots, both renderings are written as PNG files into DIR (engine: NAME.tamrix.png,
Chromium: NAME.chromium.png) to be looked at side by side.
"""
import argparse
import gzip
import json
import re
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--hide-scrollbars",
]

CSP = (b'<meta id="geometry-probe-csp" http-equiv="Content-Security-Policy" '
       b'content="script-src \'nonce-geometryprobe\'">')

REPORT = """<script nonce="geometryprobe">addEventListener("load",function(){
var all=document.getElementsByTagName('*'),out=[],n=0;
for(var k=0;k<all.length;k++){var e=all[k],i=n,r=e.getBoundingClientRect(),t=0;
if(e.id=='geometry-probe-csp')continue;n++;
for(var c=e.firstChild;c;c=c.nextSibling)if(c.nodeType==3&&c.data.trim())t=1;
out.push([i,e.tagName,r.left+scrollX,r.top+scrollY,r.right+scrollX,r.bottom+scrollY,
getComputedStyle(e).display,t]);}
var p=document.createElement('pre');
p.textContent='@@'+'GEO@@'+JSON.stringify({height:innerHeight,boxes:out})+'@@'+'GEO@@';
document.documentElement.appendChild(p);});</script>"""

BLOCK = {"block", "list-item", "table", "table-cell", "table-caption", "flow-root"}


def read_page(page):
    with open(page, "rb") as source:
        data = source.read()
    return gzip.decompress(data) if page.endswith(".gz") else data


def plain_copy(page):
    """The page as a plain file the engine and a screenshot can open."""
    if not page.endswith(".gz"):
        return os.path.abspath(page), False
    handle, path = tempfile.mkstemp(suffix=".html", prefix="geometry-page-")
    with os.fdopen(handle, "wb") as target:
        target.write(read_page(page))
    return path, True


def chromium(args, page, plain, width, shot):
    profile = tempfile.mkdtemp(prefix="geometry-chromium-")
    try:
        flags = CHROMIUM_FLAGS + ["--user-data-dir=" + profile,
                                  "--window-size=%d,768" % width]
        copy = os.path.join(tempfile.gettempdir(), "geometry-probe-%d.html" % os.getpid())
        markup = read_page(page)
        head = re.search(rb"<head[^>]*>", markup, re.I)
        if head:
            markup = markup[:head.end()] + CSP + markup[head.end():]
        with open(copy, "wb") as target:
            target.write(markup + REPORT.encode())
        try:
            dom = subprocess.run(["chromium"] + flags + ["--dump-dom", "file://" + copy],
                                 capture_output=True, timeout=60, check=True).stdout.decode()
        finally:
            os.remove(copy)
        if shot:
            subprocess.run(["chromium"] + flags + ["--screenshot=" + shot,
                                                   "file://" + plain],
                           capture_output=True, timeout=60, check=True)
        start = dom.index("@@GEO@@") + 7
        return json.loads(dom[start:dom.index("@@GEO@@", start)].replace("&amp;", "&")
                          .replace("&lt;", "<").replace("&gt;", ">"))
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def engine(build, page, size, shot):
    command = [os.path.join(build, "bench/dom/layout_boxes"), page, size]
    if shot:
        command.append(shot)
    lines = subprocess.run(command, capture_output=True, timeout=120, check=True).stdout
    boxes = {}
    for line in lines.decode().splitlines():
        parts = line.split()
        boxes[int(parts[0])] = (parts[1], None if parts[2] == "-" else
                                tuple(int(v) for v in parts[2:6]))
    return boxes


def iou(a, b):
    left, top = max(a[0], b[0]), max(a[1], b[1])
    right, bottom = min(a[2], b[2]), min(a[3], b[3])
    inter = max(0, right - left) * max(0, bottom - top)
    union = (a[2] - a[0]) * (a[3] - a[1]) + (b[2] - b[0]) * (b[3] - b[1]) - inter
    return inter / union if union > 0 else (1.0 if a == b else 0.0)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--width", type=int, default=1024)
    parser.add_argument("--shots")
    parser.add_argument("--details", action="store_true")
    parser.add_argument("--real-pages")
    parser.add_argument("pages", nargs="*")
    args = parser.parse_args()
    if args.real_pages:
        listed = os.path.join(os.path.dirname(os.path.abspath(__file__)), "real_pages.txt")
        with open(listed) as names:
            args.pages += [os.path.join(args.real_pages, name.strip(), "source.html.gz")
                           for name in names if name.strip() and not name.startswith("#")]
    if not args.pages:
        parser.error("no pages given")
    print("%-40s %8s %10s %10s %10s %8s" % ("page", "elements", "median IoU", "mean IoU",
                                             "shape IoU", "drift"))
    passing = 0
    for page in args.pages:
        name = os.path.basename(os.path.dirname(page)) if page.endswith(".gz") else \
            os.path.splitext(os.path.basename(page))[0]
        shots = (os.path.join(args.shots, name + ".chromium.png"),
                 os.path.join(args.shots, name + ".tamrix.png")) if args.shots else (None, None)
        plain, temporary = plain_copy(page)
        try:
            reported = chromium(args, page, plain, args.width, shots[0])
            reference = reported["boxes"]
            # The engine's viewport is as high as Chromium's (its window less its frame).
            ours = engine(args.build, plain, "%dx%d" % (args.width, reported["height"]),
                          shots[1])
        finally:
            if temporary:
                os.remove(plain)
        scores = []
        shapes = []
        drifts = []
        for index, tag, left, top, right, bottom, display, text in reference:
            if index not in ours or ours[index][0] != tag or not text or display not in BLOCK:
                continue
            theirs = (round(left), round(top), round(right), round(bottom))
            if theirs[2] <= theirs[0] or theirs[3] <= theirs[1]:
                continue
            mine = ours[index][1]
            score = iou(mine, theirs) if mine else 0.0
            scores.append(score)
            if mine:
                lifted = (mine[0], theirs[1], mine[2], theirs[1] + mine[3] - mine[1])
                shapes.append(iou(lifted, theirs))
                drifts.append(abs(mine[1] - theirs[1]))
            else:
                shapes.append(0.0)
            if args.details:
                print("   %4d %-10s ours %-22s chromium %-22s %.2f" %
                      (index, tag, mine, theirs, score))
        if scores:
            shape = statistics.median(shapes)
            drift = statistics.median(drifts) if drifts else float("inf")
            passing += shape >= 0.9 and drift <= 20
            print("%-40s %8d %10.3f %10.3f %10.3f %8.1f" % (name[-40:], len(scores),
                                                            statistics.median(scores),
                                                            statistics.mean(scores), shape,
                                                            drift))
        else:
            print("%-40s %8d %10s" % (name[-40:], 0, "-"))
    print("pages with shape IoU >= 0.9 and drift <= 20 px: %d of %d" % (passing,
                                                                       len(args.pages)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
