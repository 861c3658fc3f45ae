#!/usr/bin/env python3
"""Times what a person does in tamrix-host on very large pages.

Builds the pages in a scratch folder, runs one tamrix-host session per page with a fresh
home folder and reports how long each action took (from its "> action" line, which the
host prints with --verbose, to the next one, the last to the program's end). Run by hand,
never from ctest:

    bench/dom/huge_pages.py [--open-attach] BUILD_DIR [PAGE...]

PAGE is one of: nested20000, nested200000, flat15000, bench1mb, attributes20000,
attributes40000, attributes80000 (one tag with that many attributes), attributes2x100
(100 tags of 2,000 attributes, about 1.9 MB); default: all of them. --open-attach runs
only the first two actions.
"""
import os
import pathlib
import subprocess
import sys
import tempfile
import time

ACTIONS = [
    "open {page}",
    "attach",
    "command command-select-auto",
    "command command-cancel",
    "command command-font-size/+1",
    "command command-font-weight/+200",
    "command command-remove-background",
    "command command-remove-style",
    "command command-undo",
    "command command-undo",
    "command command-undo",
    "command command-undo",
    "command command-select-grab",
    "command command-undo",
    "answer-save Huge page",
    "key ctrl+s",
    # Shows the saved entry, so the save's time ends here and the program's exit is apart.
    "report",
]


def nested(count):
    return ("<html><head><title>Nested</title></head><body>"
            + "".join(f"<div class=level>level {i} " for i in range(count))
            + "</div>" * count + "</body></html>")


def flat(elements):
    parts = ["<html><head><title>Flat</title><style>p{margin:0 0 1em} .note{color:#555}"
             " a{text-decoration:none} b{font-weight:bold}</style></head><body>"]
    for i in range(elements // 5):
        parts.append(f"<p class=note>Paragraph {i} with <b>bold</b>, <i>italic</i>, "
                     f"<a href='/l{i}'>a link</a> and <span>a span</span> of text.</p>")
    return "".join(parts) + "</body></html>"


def attributes(count, first=0):
    return ("<div" + "".join(f' a{i}="{i}"' for i in range(first, first + count))
            + ">text</div>")


def bench_page(size):
    """The same article page as bench_dom generates."""
    page = ("<!DOCTYPE html><html><head><title>Generated article</title><style>"
            "body{margin:0;font:13px Arial} #nav li{display:inline;margin-right:8px}"
            ".content{width:70%;float:left} .sidebar{width:25%;float:right}"
            ".content p{line-height:1.4em;margin:0 0 1em} .comment{border:1px solid #ccc;"
            "padding:4px}.comment .author{font-weight:bold} table.data td{padding:2px 4px}"
            "</style><script>var config={track:true};</script></head><body>"
            "<div id=header><ul id=nav><li><a href=/>Home</a></li><li><a href=/news>News</a>"
            "</li><li><a href=/sport>Sport</a></li></ul></div><div class=content>")
    parts = [page]
    length = len(page)
    section = 0
    while length < size:
        n = str(section)
        section += 1
        chunk = f"<h2 id=s{n}>Section {n}</h2>"
        for p in range(6):
            chunk += (f"<p>This is paragraph {p} of section {n}, with <a href='/link/{n}'>"
                      "a link</a>, some <b>bold</b> and <i>italic</i> words, and enough plain "
                      "running text to wrap over several lines in a column of ordinary width "
                      "on an ordinary screen.</p>")
        chunk += ("<ul><li>First point</li><li>Second point</li><li>Third point</li></ul>"
                  "<table class=data><tr><th>Item</th><th>Value</th></tr><tr><td>a</td>"
                  "<td>1</td></tr><tr><td>b</td><td>2</td></tr></table>"
                  f"<div class=comment><span class=author>reader{n}</span><p>A comment on "
                  "this section.</p></div><form action=/c><input name=q><input type=submit "
                  f"value=Go></form><script>track({n});</script>")
        parts.append(chunk)
        length += len(chunk)
    parts.append("</div><div class=sidebar><h3>More</h3><iframe src=/ad width=200 "
                 "height=200></iframe></div></body></html>")
    return "".join(parts)


PAGES = {
    "nested20000": lambda: nested(20000),
    "nested200000": lambda: nested(200000),
    "flat15000": lambda: flat(15000),
    "bench1mb": lambda: bench_page(1024 * 1024),
    "attributes20000": lambda: "<html><body>" + attributes(20000) + "</body></html>",
    "attributes40000": lambda: "<html><body>" + attributes(40000) + "</body></html>",
    "attributes80000": lambda: "<html><body>" + attributes(80000) + "</body></html>",
    "attributes2x100": lambda: ("<html><body>" + "".join(attributes(2000, t * 2000)
                                                         for t in range(100))
                                + "</body></html>"),
}


def run_session(host, page_file, scratch, actions):
    env = dict(os.environ)
    for name, sub in (("HOME", ""), ("XDG_DATA_HOME", "data"), ("XDG_CONFIG_HOME", "config"),
                      ("XDG_RUNTIME_DIR", "runtime")):
        folder = scratch / sub
        folder.mkdir(parents=True, exist_ok=True, mode=0o700)
        env[name] = str(folder)
    script = "\n".join(a.format(page=page_file) for a in actions) + "\n"
    process = subprocess.Popen([host, "--verbose", "--script", "-"], stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env,
                               text=True)
    process.stdin.write(script)
    process.stdin.close()
    timings = []
    current, started = None, time.monotonic()
    for line in process.stdout:
        if line.startswith("> "):
            now = time.monotonic()
            if current:
                timings.append((current, now - started))
            current, started = line[2:].strip(), now
    process.wait(timeout=3600)
    if current:
        timings.append((current, time.monotonic() - started))
    return timings, process.returncode


def main():
    arguments = sys.argv[1:]
    actions = ACTIONS
    if arguments[:1] == ["--open-attach"]:
        arguments, actions = arguments[1:], ACTIONS[:2]
    if not arguments:
        print(__doc__, file=sys.stderr)
        return 2
    host = pathlib.Path(arguments[0]) / "stage" / "bin" / "tamrix-host"
    if not host.exists():
        found = list(pathlib.Path(arguments[0]).rglob("tamrix-host"))
        host = next((f for f in found if f.is_file() and os.access(f, os.X_OK)), host)
    names = arguments[1:] or list(PAGES)
    with tempfile.TemporaryDirectory(prefix="huge-pages-") as folder:
        scratch = pathlib.Path(folder)
        for name in names:
            page_file = scratch / f"{name}.html"
            page_file.write_text(PAGES[name](), encoding="utf-8")
            timings, status = run_session(str(host), page_file, scratch / f"home-{name}",
                                           actions)
            print(f"{name}: {page_file.stat().st_size / 1048576:.2f} MB, exit {status}")
            for action, seconds in timings:
                shown = action.replace(str(page_file), name)
                print(f"  {seconds * 1000:9.1f} ms  {shown}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
