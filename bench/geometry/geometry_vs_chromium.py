#!/usr/bin/env python3
"""Compares the layout engine's boxes with headless Chromium's on fixture pages.

For every page: Chromium loads a copy with a script that reports getBoundingClientRect,
the display type and whether the element holds text, for every element in document
order; layout_boxes (bench/dom) prints the engine's border boxes in the same order. For
the block-level elements that hold text, the script reports the intersection over union
of the two boxes; the table gives per page the elements compared and the median IoU.

    geometry_vs_chromium.py BUILD_DIR [--width 1024] [--shots DIR] page.html...

With --shots, both renderings are written as PNG files into DIR (engine: NAME.tamrix.png,
Chromium: NAME.chromium.png) to be looked at side by side.
"""
import argparse
import json
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

REPORT = """<script>addEventListener("load",function(){
var all=document.getElementsByTagName('*'),out=[];
for(var i=0;i<all.length;i++){var e=all[i],r=e.getBoundingClientRect(),t=0;
for(var c=e.firstChild;c;c=c.nextSibling)if(c.nodeType==3&&c.data.trim())t=1;
out.push([i,e.tagName,r.left+scrollX,r.top+scrollY,r.right+scrollX,r.bottom+scrollY,
getComputedStyle(e).display,t]);}
var p=document.createElement('pre');p.textContent='@@'+'GEO@@'+JSON.stringify(out)+'@@'+'GEO@@';
document.documentElement.appendChild(p);});</script>"""

BLOCK = {"block", "list-item", "table", "table-cell", "table-caption", "flow-root"}


def chromium(args, page, width, shot):
    profile = tempfile.mkdtemp(prefix="geometry-chromium-")
    try:
        flags = CHROMIUM_FLAGS + ["--user-data-dir=" + profile,
                                  "--window-size=%d,768" % width]
        copy = os.path.join(os.path.dirname(os.path.abspath(page)), ".geometry-probe.html")
        with open(page, "rb") as source, open(copy, "wb") as target:
            target.write(source.read() + REPORT.encode())
        try:
            dom = subprocess.run(["chromium"] + flags + ["--dump-dom", "file://" + copy],
                                 capture_output=True, timeout=60, check=True).stdout.decode()
        finally:
            os.remove(copy)
        if shot:
            subprocess.run(["chromium"] + flags + ["--screenshot=" + shot,
                                                   "file://" + os.path.abspath(page)],
                           capture_output=True, timeout=60, check=True)
        start = dom.index("@@GEO@@") + 7
        return json.loads(dom[start:dom.index("@@GEO@@", start)].replace("&amp;", "&")
                          .replace("&lt;", "<").replace("&gt;", ">"))
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def engine(build, page, width, shot):
    command = [os.path.join(build, "bench/dom/layout_boxes"), page, str(width)]
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
    parser.add_argument("pages", nargs="+")
    args = parser.parse_args()
    print("%-40s %8s %10s %10s" % ("page", "elements", "median IoU", "mean IoU"))
    for page in args.pages:
        name = os.path.splitext(os.path.basename(page))[0]
        shots = (os.path.join(args.shots, name + ".chromium.png"),
                 os.path.join(args.shots, name + ".tamrix.png")) if args.shots else (None, None)
        reference = chromium(args, page, args.width, shots[0])
        ours = engine(args.build, page, args.width, shots[1])
        scores = []
        for index, tag, left, top, right, bottom, display, text in reference:
            if index not in ours or ours[index][0] != tag or not text or display not in BLOCK:
                continue
            theirs = (round(left), round(top), round(right), round(bottom))
            if theirs[2] <= theirs[0] or theirs[3] <= theirs[1]:
                continue
            mine = ours[index][1]
            score = iou(mine, theirs) if mine else 0.0
            scores.append(score)
            if args.details:
                print("   %4d %-10s ours %-22s chromium %-22s %.2f" %
                      (index, tag, mine, theirs, score))
        if scores:
            print("%-40s %8d %10.3f %10.3f" % (page[-40:], len(scores),
                                               statistics.median(scores),
                                               statistics.mean(scores)))
        else:
            print("%-40s %8d %10s" % (page[-40:], 0, "-"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
