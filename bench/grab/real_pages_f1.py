#!/usr/bin/env python3
"""How much of the article, and how little else, a Grab with nothing selected keeps on real
pages, side by side with Readability.js on the same pages.

For every page folder (source.html.gz, expected.html.gz) of the pages folder:
- Tamrix: tamrix-host opens the page, attaches, clears the selection that attaching
  makes by default (the automatic selection of the article block), runs Grab
  (command-select-grab) with nothing selected and exports the readable page as HTML, as
  a person does; the kept content is the readable page without the header Grab puts
  above it (title and address).
  A page without a title (or with an empty one) gets its folder's name for one first, so
  every page has one: the export dialog takes the page's title for the book title and
  refuses an empty one.
  With --attached, the selection that attaching makes is kept and grabbed, as a person who
  attaches and presses Grab does (it should keep the same article).
  With --in-process, bench_grab_pages builds the same content in one process instead
  (much faster; for tuning).
- Readability.js 0.6 with jsdom 26, installed with npm into BUILD/bench-node on first use.
Both are scored against expected.html by word shingles (runs of letters and digits,
lower-cased, N words long; --shingle, default 4): precision is the share of the kept
shingles found in the expected text, recall the share of the expected shingles kept (both
counted as multisets), F1 their harmonic mean. The table gives every page and the means;
--worst lists the pages where Tamrix loses most against Readability.

    real_pages_f1.py [--build build] [--pages ../shared/real-pages] [--jobs 4]
                     [--attached | --in-process] [--no-readability] [--only NAME...]
                     [--csv FILE]
"""
import argparse
import concurrent.futures
import csv
import gzip
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
from collections import Counter

READABILITY_PACKAGES = ["@mozilla/readability@0.6.0", "jsdom@26.1.0"]
HERE = os.path.dirname(os.path.abspath(__file__))

SKIPPED_TAGS = {"script", "style", "noscript", "template", "head", "title"}
BLOCK_TAGS = {
    "p", "div", "br", "li", "ul", "ol", "h1", "h2", "h3", "h4", "h5", "h6", "tr", "td", "th",
    "table", "section", "article", "blockquote", "pre", "figure", "figcaption", "dd", "dt",
    "header", "footer", "aside", "nav", "main", "form", "hr",
}


class TextOf(html.parser.HTMLParser):
    """The text of markup, blocks separated by line breaks; with `drop_header`, the
    first h1 (Grab's header above the readable content) is left out."""

    def __init__(self, drop_header):
        super().__init__(convert_charrefs=True)
        self.parts = []
        self.skipping = 0
        self.header_left = drop_header
        self.in_header = False

    def handle_starttag(self, tag, attrs):
        if tag in SKIPPED_TAGS:
            self.skipping += 1
        elif tag == "h1" and self.header_left:
            self.header_left = False
            self.in_header = True
        if tag in BLOCK_TAGS:
            self.parts.append("\n")

    def handle_endtag(self, tag):
        if tag in SKIPPED_TAGS and self.skipping:
            self.skipping -= 1
        elif tag == "h1" and self.in_header:
            self.in_header = False
        if tag in BLOCK_TAGS:
            self.parts.append("\n")

    def handle_data(self, data):
        if not self.skipping and not self.in_header:
            self.parts.append(data)


def text_of(markup, drop_header=False):
    parser = TextOf(drop_header)
    parser.feed(markup)
    parser.close()
    return "".join(parser.parts)


TITLE = re.compile(r"<title[^>]*>.*?</title>", re.IGNORECASE | re.DOTALL)
# Where a title goes into a page without one: after the head's start tag, else after the
# html start tag, else after the doctype (a tag before it would put the page in quirks
# mode), else at the start.
TITLE_PLACES = [re.compile(r"<head[\s>][^>]*>|<head>", re.IGNORECASE),
                re.compile(r"<html[\s>][^>]*>|<html>", re.IGNORECASE),
                re.compile(r"<!doctype[^>]*>", re.IGNORECASE)]


def titled(markup, title):
    """The page as it is when its first title element holds text; else with `title` for its
    title: the empty title element's text replaced, or a title element put in where the
    page has none. Grab's header shows the page's own title, and what the story repeats of
    it is left out, so a page keeps its title where it has one."""
    element = "<title>%s</title>" % title
    found = TITLE.search(markup)
    if found and text_of(re.sub(r"</?title[^>]*>", "", found.group(0), flags=re.I)).strip():
        return markup
    if found:
        return TITLE.sub(element, markup, count=1)
    for place in TITLE_PLACES:
        found = place.search(markup)
        if found:
            return markup[:found.end()] + element + markup[found.end():]
    return element + markup
WORD = re.compile(r"\w+", re.UNICODE)


def shingles(text, size):
    words = [w for w in (m.group(0).lower() for m in WORD.finditer(text)) if w != "_"]
    if len(words) < size:
        return Counter([tuple(words)]) if words else Counter()
    return Counter(tuple(words[i:i + size]) for i in range(len(words) - size + 1))


def score(kept, expected, size):
    got, want = shingles(kept, size), shingles(expected, size)
    if not got or not want:
        same = 1.0 if not got and not want else 0.0
        return same, same, same
    common = sum((got & want).values())
    precision = common / sum(got.values())
    recall = common / sum(want.values())
    f1 = 2 * precision * recall / (precision + recall) if common else 0.0
    return precision, recall, f1


def read_gz(path):
    with gzip.open(path, "rb") as data:
        return data.read().decode("utf-8", errors="replace")


def page_names(folder, only):
    names = sorted(n for n in os.listdir(folder)
                   if os.path.isfile(os.path.join(folder, n, "source.html.gz")))
    return [n for n in names if not only or n in only]


def grab_with_host(host, source, work, attached=False):
    """Opens the page in tamrix-host, grabs with nothing selected (with what attaching
    selected when `attached`) and exports the readable page as HTML into `work`; the
    exported markup, or "" when none came out."""
    env = dict(os.environ)
    for name in ("HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"):
        env[name] = os.path.join(work, name.lower())
        os.makedirs(env[name], mode=0o700, exist_ok=True)
    out = os.path.join(work, "out")
    os.makedirs(out, exist_ok=True)
    started = time.monotonic()
    try:
        clear = [] if attached else ["command", "command-select-clear"]
        subprocess.run([host, "open", source, "attach"] + clear +
                       ["command", "command-select-grab",
                        "answer-export HTML | %s | grabbed" % out,
                        "command", "command-export/tamrix"],
                       env=env, capture_output=True, timeout=300, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        return "", time.monotonic() - started
    seconds = time.monotonic() - started
    exported = os.path.join(out, "grabbed.html")
    if not os.path.exists(exported):
        return "", seconds
    with open(exported, "rb") as data:
        return data.read().decode("utf-8", errors="replace"), seconds


def grab_in_process(tool, rules, sources, work):
    """Runs bench_grab_pages on all pages at once; markup per page name."""
    out = os.path.join(work, "in-process")
    os.makedirs(out, exist_ok=True)
    subprocess.run([tool, rules, out] + list(sources.values()), check=True,
                   stdout=subprocess.DEVNULL, timeout=3600)
    markup = {}
    for name in sources:
        path = os.path.join(out, name + ".html")
        with open(path, "rb") as data:
            markup[name] = data.read().decode("utf-8", errors="replace")
    return markup


def readability(build, sources):
    """Readability.js's article markup and time per page name."""
    modules = os.path.join(os.path.abspath(build), "bench-node")
    if not os.path.isdir(os.path.join(modules, "node_modules", "@mozilla", "readability")):
        os.makedirs(modules, exist_ok=True)
        print("installing %s into %s" % (" ".join(READABILITY_PACKAGES), modules),
              file=sys.stderr)
        subprocess.run(["npm", "install", "--no-audit", "--no-fund", "--prefix", modules] +
                       READABILITY_PACKAGES, check=True, timeout=600,
                       stdout=subprocess.DEVNULL)
    env = dict(os.environ, NODE_PATH=os.path.join(modules, "node_modules"))
    pages = [{"name": name, "path": path} for name, path in sources.items()]
    done = subprocess.run(["node", os.path.join(HERE, "readability_pages.js")],
                          input=json.dumps(pages).encode(), capture_output=True, env=env,
                          check=True, timeout=3600)
    return json.loads(done.stdout)


def mean(values):
    return sum(values) / len(values) if values else 0.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--pages", default=os.path.join("..", "shared", "real-pages"))
    parser.add_argument("--jobs", type=int, default=4)
    parser.add_argument("--shingle", type=int, default=4)
    ways = parser.add_mutually_exclusive_group()
    ways.add_argument("--in-process", action="store_true")
    ways.add_argument("--attached", action="store_true",
                      help="grab what attaching selects instead of clearing it first")
    parser.add_argument("--no-readability", action="store_true")
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--csv")
    parser.add_argument("--worst", type=int, default=15)
    parser.add_argument("--keep", help="folder to keep every page's kept text in")
    args = parser.parse_args()

    names = page_names(args.pages, args.only)
    if not names:
        sys.exit("no pages in " + args.pages)
    work = tempfile.mkdtemp(prefix="grab-f1-")
    try:
        sources, expected = {}, {}
        for name in names:
            folder = os.path.join(args.pages, name)
            sources[name] = os.path.join(work, name + ".source.html")
            # With a byte-order mark: the text is UTF-8 now, whatever charset its markup
            # names, and a browser reads it so only when the file says so.
            with open(sources[name], "w", encoding="utf-8-sig") as page:
                page.write(titled(read_gz(os.path.join(folder, "source.html.gz")), name))
            expected[name] = text_of(read_gz(os.path.join(folder, "expected.html.gz")))

        started = time.monotonic()
        if args.in_process:
            tool = os.path.join(args.build, "bench", "grab", "bench_grab_pages")
            rules = os.path.join(args.build, "stage", "data", "grab.xml")
            markup = grab_in_process(tool, rules, sources, work)
            tamrix = {name: text_of(markup[name]) for name in names}
        else:
            host = os.path.join(args.build, "stage", "bin", "tamrix-host")

            def one(name):
                folder = os.path.join(work, "host-" + name)
                return name, grab_with_host(host, sources[name], folder, args.attached)

            tamrix = {}
            with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
                for name, (markup, _) in pool.map(one, names):
                    tamrix[name] = text_of(markup, drop_header=True)
        tamrix_seconds = time.monotonic() - started

        other = {} if args.no_readability else readability(args.build, sources)
        rows = []
        for name in names:
            ours = score(tamrix[name], expected[name], args.shingle)
            theirs = (score(text_of(other[name]["html"]), expected[name], args.shingle)
                      if name in other else None)
            rows.append((name, ours, theirs))
            if args.keep:
                os.makedirs(args.keep, exist_ok=True)
                with open(os.path.join(args.keep, name + ".txt"), "w") as kept:
                    kept.write(tamrix[name])
    finally:
        shutil.rmtree(work, ignore_errors=True)

    print("%-44s %6s %6s %6s   %6s %6s %6s" % ("page", "P", "R", "F1", "rP", "rR", "rF1"))
    for name, ours, theirs in rows:
        line = "%-44s %6.3f %6.3f %6.3f" % ((name,) + ours)
        if theirs:
            line += "   %6.3f %6.3f %6.3f" % theirs
        print(line)
    print()
    summary = [("Tamrix", [r[1] for r in rows])]
    if other:
        summary.append(("Readability.js", [r[2] for r in rows]))
    for label, scores in summary:
        print("%-16s F1 %.3f  precision %.3f  recall %.3f  (%d pages, %d-word shingles)" % (
            label, mean([s[2] for s in scores]), mean([s[0] for s in scores]),
            mean([s[1] for s in scores]), len(scores), args.shingle))
    print("Tamrix took %.1f s for the pages (%s)" % (
        tamrix_seconds, "in process" if args.in_process else "tamrix-host%s, %d at once" % (
            ", the attached selection" if args.attached else "", args.jobs)))
    if other:
        print("Readability.js extraction: %.1f ms per page" % mean([o["ms"] for o in other.values()]))
        losses = sorted(rows, key=lambda r: r[1][2] - r[2][2])
        print("\nlargest losses against Readability.js (F1 ours - theirs):")
        for name, ours, theirs in losses[:args.worst]:
            if ours[2] - theirs[2] >= 0:
                break
            print("  %-44s %+.3f  (P %.3f R %.3f)" % (name, ours[2] - theirs[2], ours[0], ours[1]))
        print("more than 0.1 worse: %d pages, more than 0.1 better: %d pages" % (
            sum(1 for r in rows if r[1][2] < r[2][2] - 0.1),
            sum(1 for r in rows if r[1][2] > r[2][2] + 0.1)))
    if args.csv:
        with open(args.csv, "w", newline="") as table:
            writer = csv.writer(table)
            writer.writerow(["page", "precision", "recall", "f1", "r_precision", "r_recall", "r_f1"])
            for name, ours, theirs in rows:
                writer.writerow([name, *ours, *(theirs or ("", "", ""))])


if __name__ == "__main__":
    main()
