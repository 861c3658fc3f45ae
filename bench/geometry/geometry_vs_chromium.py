#!/usr/bin/env python3
"""Compares the layout engine's boxes with headless Chromium's on fixture pages.

For every page: Chromium loads it with scripting disabled, as the engine runs no scripts
(so both read what a noscript element holds as markup), and a probe evaluated through the
DevTools protocol reports getBoundingClientRect, the display type and whether the element
holds text, for every element in document order; layout_boxes (bench/dom) prints the
engine's border boxes in the same order. For the block-level elements that hold text, the
script reports the intersection over union of the two boxes; the table gives per page the
elements compared, the median IoU, the median IoU of the boxes' shapes with their tops
aligned and the median drift of their tops in pixels. Pages may be gzip files.

    geometry_vs_chromium.py BUILD_DIR [--width 1024] [--shots DIR] page.html[.gz]...
    geometry_vs_chromium.py BUILD_DIR --real-pages ../shared/real-pages

With --real-pages, the pages are the twenty named in real_pages.txt beside this script
(each folder's source.html.gz), chosen once before any tuning; the figure to reach is 18 of
them within a shape IoU of 0.9 and a drift of 20 px.

With --shots, both renderings are written as PNG files into DIR (engine: NAME.tamrix.png,
Chromium: NAME.chromium.png) to be looked at side by side.
"""
import argparse
import base64
import gzip
import json
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--hide-scrollbars", "--blink-settings=scriptEnabled=false", "--remote-debugging-pipe",
]

# Seconds a page may take in Chromium, from its start to the probe's answer.
CHROMIUM_LIMIT = 60

PROBE = """(function(){
var all=document.getElementsByTagName('*'),out=[];
for(var i=0;i<all.length;i++){var e=all[i],r=e.getBoundingClientRect(),t=0;
for(var c=e.firstChild;c;c=c.nextSibling)if(c.nodeType==3&&c.data.trim())t=1;
out.push([i,e.tagName,r.left+scrollX,r.top+scrollY,r.right+scrollX,r.bottom+scrollY,
getComputedStyle(e).display,t]);}
return {height:innerHeight,boxes:out};})()"""

BLOCK = {"block", "list-item", "table", "table-cell", "table-caption", "flow-root"}


class DevTools:
    """Chromium driven through the DevTools protocol on a pipe (its descriptors 3 and 4):
    JSON messages ended by a NUL byte. Every wait ends at the deadline."""

    def __init__(self, flags, deadline):
        self.deadline = deadline
        self.pending = b""
        self.last = 0
        commands, self.commands = os.pipe()
        self.answers, answers = os.pipe()

        def descriptors():
            os.dup2(commands, 3)
            os.dup2(answers, 4)
            os.set_inheritable(3, True)
            os.set_inheritable(4, True)

        self.process = subprocess.Popen(["chromium"] + flags + ["about:blank"],
                                        preexec_fn=descriptors, close_fds=False,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(commands)
        os.close(answers)

    def close(self):
        os.close(self.commands)
        os.close(self.answers)
        self.process.kill()
        self.process.wait()

    def send(self, method, params=None, session=None):
        self.last += 1
        message = {"id": self.last, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.commands, json.dumps(message).encode() + b"\0")
        return self.last

    def receive(self):
        while b"\0" not in self.pending:
            left = self.deadline - time.monotonic()
            if left <= 0 or not select.select([self.answers], [], [], left)[0]:
                raise TimeoutError("Chromium did not answer in time")
            chunk = os.read(self.answers, 1 << 16)
            if not chunk:
                raise EOFError("Chromium closed its pipe")
            self.pending += chunk
        message, self.pending = self.pending.split(b"\0", 1)
        return json.loads(message)

    def call(self, method, params=None, session=None):
        waited = self.send(method, params, session)
        while True:
            message = self.receive()
            if message.get("id") == waited:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message["result"]

    def until(self, event):
        while self.receive().get("method") != event:
            pass


def chromium(page, plain, width, shot):
    """Chromium's boxes of the page (and its screenshot into shot, if given)."""
    profile = tempfile.mkdtemp(prefix="geometry-chromium-")
    browser = DevTools(CHROMIUM_FLAGS + ["--user-data-dir=" + profile,
                                         "--window-size=%d,768" % width],
                       time.monotonic() + CHROMIUM_LIMIT)
    try:
        target = browser.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = browser.call("Target.attachToTarget", {"targetId": target,
                                                         "flatten": True})["sessionId"]
        browser.call("Page.enable", {}, session)
        browser.send("Page.navigate", {"url": "file://" + plain}, session)
        browser.until("Page.loadEventFired")
        answer = browser.call("Runtime.evaluate", {"expression": PROBE,
                                                   "returnByValue": True}, session)
        if "exceptionDetails" in answer:
            raise RuntimeError("probe failed on %s: %s" % (page, answer["exceptionDetails"]))
        if shot:
            picture = browser.call("Page.captureScreenshot", {"format": "png"}, session)
            with open(shot, "wb") as target:
                target.write(base64.b64decode(picture["data"]))
        return answer["result"]["value"]
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)


def read_page(page):
    with open(page, "rb") as source:
        data = source.read()
    return gzip.decompress(data) if page.endswith(".gz") else data


def plain_copy(page):
    """The page as a plain file the engine and Chromium can open."""
    if not page.endswith(".gz"):
        return os.path.abspath(page), False
    handle, path = tempfile.mkstemp(suffix=".html", prefix="geometry-page-")
    with os.fdopen(handle, "wb") as target:
        target.write(read_page(page))
    return path, True


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
            reported = chromium(page, plain, args.width, shots[0])
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
