#!/usr/bin/env python3
"""Compares the client rectangles of text ranges with headless Chromium's on real pages.

For every shown paragraph-like element that holds text, text_range_rects (this folder)
prints the lines of two ranges: its whole content (W) and characters 3 to length-3 of its
first text node of at least 20 characters that are not blanks (S). Chromium measures the
same ranges over the same elements (found by their tag and the start of their text, the
engines' trees may differ a little) with the text boxes of each text node in the range. Both sides' rectangles are
grouped into lines the same way, and each line is taken relative to its element's border
box, so that where the two engines put the element does not count, only where its text
lies inside it.

A range is right when it has as many lines in both engines and each line's edges lie
within --tolerance px (default 3) of Chromium's; right across when that holds for the left
and right edges (the characters measure right, the lines' heights may differ); it is empty when Chromium has lines and
the engine none; it is outside when one of its lines lies more than 3 px outside its
element's box in the engine's own layout. The page's scripts do not run in Chromium and
neither side reaches the network, as a saved page shows.

    text_ranges_vs_chromium.py BUILD_DIR [--width 1024] [--details] page.html[.gz]...
"""
import argparse
import gzip
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

NOWHERE = "http://127.0.0.1:9"
CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--hide-scrollbars", "--proxy-server=" + NOWHERE,
]

CSP = (b'<meta id="range-probe-csp" http-equiv="Content-Security-Policy" '
       b'content="script-src \'nonce-rangeprobe\'">')

REPORT = """<script nonce="rangeprobe">addEventListener("load",function(){
var tags={P:1,LI:1,H1:1,H2:1,H3:1,H4:1,H5:1,H6:1,TD:1,DD:1,BLOCKQUOTE:1,FIGCAPTION:1};
function texts(n,o){for(var c=n.firstChild;c;c=c.nextSibling){if(c.nodeType==3)o.push(c);
else if(c.nodeType==1&&c.tagName!='SCRIPT'&&c.tagName!='STYLE')texts(c,o);}return o;}
function rects(pieces){var o=[];for(var i=0;i<pieces.length;i++){var r=document.createRange();
r.setStart(pieces[i][0],pieces[i][1]);r.setEnd(pieces[i][0],pieces[i][2]);
var l=r.getClientRects();for(var k=0;k<l.length;k++)if(l[k].width>0&&l[k].height>0)
o.push([l[k].left+scrollX,l[k].top+scrollY,l[k].right+scrollX,l[k].bottom+scrollY]);}return o;}
function sig(t){var s='';for(var j=0;j<t.length&&s.length<=80;j++)s+=t[j].data;
return s.replace(/\s+/g,' ').replace(/^ /,'').substr(0,80).replace(/ $/,'');}
var all=document.getElementsByTagName('*'),out=[];
for(var k=0;k<all.length;k++){var e=all[k];if(!tags[e.tagName])continue;var b=e.getBoundingClientRect();if(!b.width||!b.height)continue;
var t=texts(e,[]),whole=[],part=null;for(var j=0;j<t.length;j++){whole.push([t[j],0,t[j].length]);
if(!part&&t[j].data.replace(/\\s/g,'').length>=20)part=[[t[j],3,t[j].length-3]];}
var box=[b.left+scrollX,b.top+scrollY,b.right+scrollX,b.bottom+scrollY];
var i=sig(t);out.push([i,e.tagName,'W',box,rects(whole)]);
if(part)out.push([i,e.tagName,'S',box,rects(part)]);}
var p=document.createElement('pre');p.textContent='@@'+'RANGES@@'+JSON.stringify(out)+'@@'+'RANGES@@';
document.documentElement.appendChild(p);});</script>"""


def read_page(page):
    with open(page, "rb") as source:
        data = source.read()
    return gzip.decompress(data) if page.endswith(".gz") else data


def chromium(markup, width):
    profile = tempfile.mkdtemp(prefix="ranges-chromium-")
    copy = os.path.join(tempfile.gettempdir(), "ranges-probe-%d.html" % os.getpid())
    try:
        head = re.search(rb"<head[^>]*>", markup, re.I)
        if head:
            markup = markup[:head.end()] + CSP + markup[head.end():]
        with open(copy, "wb") as target:
            target.write(markup + REPORT.encode())
        flags = CHROMIUM_FLAGS + ["--user-data-dir=" + profile, "--window-size=%d,768" % width]
        dom = subprocess.run(["chromium"] + flags + ["--dump-dom", "file://" + copy],
                             capture_output=True, timeout=120, check=True).stdout.decode()
        start = dom.index("@@RANGES@@") + 10
        found = json.loads(dom[start:dom.index("@@RANGES@@", start)].replace("&amp;", "&")
                           .replace("&lt;", "<").replace("&gt;", ">"))
        return keyed((text, tag, kind, box, lines) for text, tag, kind, box, lines in found)
    finally:
        shutil.rmtree(profile, ignore_errors=True)
        if os.path.exists(copy):
            os.remove(copy)


def engine(build, markup, width):
    handle, plain = tempfile.mkstemp(suffix=".html", prefix="ranges-page-")
    with os.fdopen(handle, "wb") as target:
        target.write(markup)
    try:
        env = dict(os.environ, http_proxy=NOWHERE, https_proxy=NOWHERE, HTTP_PROXY=NOWHERE,
                   HTTPS_PROXY=NOWHERE)
        output = subprocess.run([os.path.join(build, "bench/selection/text_range_rects"), plain,
                                 str(width)], capture_output=True, timeout=300, check=True,
                                env=env).stdout.decode()
    finally:
        os.remove(plain)
    found = []
    for line in output.splitlines():
        rects, _, text = line.partition(" || ")
        parts = rects.split(" | ")
        tag, kind, *box = parts[0].split()
        found.append((text, tag, kind, [int(v) for v in box],
                      [[int(v) for v in piece.split()] for piece in parts[1:]]))
    return keyed(found)


def keyed(ranges):
    """The ranges by (tag, text, kind, n): the n-th element of that tag and text."""
    found = {}
    for text, tag, kind, box, lines in ranges:
        n = 0
        while (tag, text, kind, n) in found:
            n += 1
        found[(tag, text, kind, n)] = (tag, box, lines)
    return found


def lines_of(rects):
    """Rectangles grouped into lines: those whose vertical spans overlap by half the smaller
    height share a line, in the order they come."""
    lines = []
    for left, top, right, bottom in rects:
        for line in lines:
            overlap = min(bottom, line[3]) - max(top, line[1])
            if overlap * 2 >= min(bottom - top, line[3] - line[1]):
                line[:] = [min(left, line[0]), min(top, line[1]), max(right, line[2]),
                           max(bottom, line[3])]
                break
        else:
            lines.append([left, top, right, bottom])
    return sorted(lines, key=lambda line: (line[1], line[0]))


def relative(lines, box):
    return [[line[0] - box[0], line[1] - box[1], line[2] - box[0], line[3] - box[1]]
            for line in lines]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--width", type=int, default=1024)
    parser.add_argument("--tolerance", type=float, default=3)
    parser.add_argument("--details", action="store_true")
    parser.add_argument("pages", nargs="+")
    args = parser.parse_args()
    print("%-32s %7s %7s %7s %7s %7s %7s" % ("page", "ranges", "right", "empty", "lines",
                                              "outside", "across"))
    totals = [0, 0, 0, 0, 0, 0]
    for page in args.pages:
        name = os.path.basename(os.path.dirname(page)) if page.endswith(".gz") else \
            os.path.splitext(os.path.basename(page))[0]
        markup = read_page(page)
        try:
            theirs = chromium(markup, args.width)
            ours = engine(args.build, markup, args.width)
        except (subprocess.SubprocessError, ValueError) as error:
            print("%-32s failed: %s" % (name[-32:], error))
            continue
        # ranges, right, empty, other line count, outside its box, right across
        counts = [0, 0, 0, 0, 0, 0]
        for key, (tag, box, rects) in sorted(theirs.items()):
            if key not in ours or not key[1]:
                continue
            expected = lines_of(rects)
            if not expected:
                continue
            _, our_box, our_rects = ours[key]
            got = lines_of(our_rects)
            counts[0] += 1
            verdict = "off"
            if not got:
                counts[2] += 1
                verdict = "empty"
            elif any(line[0] < our_box[0] - 3 or line[1] < our_box[1] - 3 or
                     line[2] > our_box[2] + 3 or line[3] > our_box[3] + 3 for line in got):
                counts[4] += 1
                verdict = "outside"
            elif len(got) != len(expected):
                counts[3] += 1
                verdict = "lines"
            else:
                pairs = list(zip(relative(got, our_box), relative(expected, box)))
                if all(abs(mine[i] - chromes[i]) <= args.tolerance
                       for mine, chromes in pairs for i in (0, 2)):
                    counts[5] += 1
                    verdict = "across"
                    if all(abs(a - b) <= args.tolerance
                           for mine, chromes in pairs for a, b in zip(mine, chromes)):
                        counts[1] += 1
                        verdict = "right"
            if args.details and verdict != "right":
                print("   %-10s %s %-7s %s\n%20s ours %s in %s\n%20s chromium %s in %s" %
                      (tag, key[2], verdict, key[1][:60], "", got, our_box, "",
                       [[round(v) for v in line] for line in expected],
                       [round(v) for v in box]))
        print("%-32s %7d %7d %7d %7d %7d %7d" % (name[-32:], *counts))
        totals = [a + b for a, b in zip(totals, counts)]
    print("%-32s %7d %7d %7d %7d %7d %7d" % ("all pages", *totals))
    print("ranges right: %d of %d (%.1f%%), right across: %d (%.1f%%)" %
          (totals[1], totals[0], 100.0 * totals[1] / max(totals[0], 1), totals[5],
           100.0 * totals[5] / max(totals[0], 1)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
