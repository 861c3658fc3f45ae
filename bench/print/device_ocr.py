#!/usr/bin/env python3
"""Reads back, with tesseract, the device PDFs Print to PDF makes of readable pages.

For every page and device: tamrix-host opens the page in a fresh home, grabs its article
(command-select-auto, command-select-grab), exports the readable page as HTML (its text,
outside head, script and style, gives the words expected) and prints it to PDF for the
device (command-print-pdf with the device chosen in the settings). The PDF's pages are rendered with pdftoppm and read with tesseract; the
table gives, per page and device, the PDF pages, the expected words and the share of them
the OCR gives back in order (longest common subsequence of the lower-cased words, numbers apart from letters).

    device_ocr.py BUILD_DIR [--device TITLE]... [--keep DIR] [--dpi 216] [--jobs 3] page.html...

Without --device, the pages are printed for the Kindle (6") and the Kindle DX.

With --keep, the PDFs and the rendered pages are kept in DIR to be looked at.
"""
import argparse
import concurrent.futures
import glob
import html.parser
import os
import re
import shutil
import subprocess
import sys
import tempfile

DEVICES = ["Amazon Kindle (6\")", "Amazon Kindle DX"]
# Numbers and letters count as separate words: OCR often drops the narrow space of
# "12 mm" in a table cell.
WORD = re.compile(r"[0-9]+|[a-z]+")


def words(text):
    return WORD.findall(text.lower().replace("\u2019", "'").replace("'", ""))


class Text(html.parser.HTMLParser):
    """The text of a page outside its head, scripts and style sheets."""
    SKIPPED = {"head", "script", "style", "title"}

    def __init__(self):
        super().__init__()
        self.parts = []
        self.skipping = 0

    def handle_starttag(self, tag, attrs):
        if tag in self.SKIPPED:
            self.skipping += 1
        elif tag in ("br", "p", "div", "li", "h1", "h2", "h3", "h4", "td", "tr"):
            self.parts.append("\n")

    def handle_endtag(self, tag):
        if tag in self.SKIPPED and self.skipping:
            self.skipping -= 1

    def handle_data(self, data):
        if not self.skipping:
            self.parts.append(data)


def page_text(markup):
    parser = Text()
    parser.feed(markup)
    return "".join(parser.parts)


def in_order(expected, found):
    """The length of the longest common subsequence of the two word lists."""
    previous = [0] * (len(found) + 1)
    for word in expected:
        current = [0]
        for j, other in enumerate(found):
            current.append(previous[j] + 1 if word == other
                           else max(previous[j + 1], current[j]))
        previous = current
    return previous[-1]


def registry_text(device, folder):
    def quoted(text):
        return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'
    return "\n".join([
        "olvan-registry 1",
        "key " + quoted("Software\\Olvan\\Tamrix\\Export"),
        "value \"Device\" sz " + quoted(device),
        "value \"Output\" sz " + quoted(folder + "/"),
        "end", ""])


def print_device_pdf(host, page, device, home):
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/data",
               XDG_CONFIG_HOME=home + "/config", TMPDIR=home + "/tmp")
    out = home + "/out"
    for folder in (out, home + "/tmp", home + "/config/Olvan"):
        os.makedirs(folder, exist_ok=True)
    with open(home + "/config/Olvan/registry.txt", "w") as registry:
        registry.write(registry_text(device, out))
    timing = home + "/time.txt"
    run = subprocess.run(
        ["/usr/bin/time", "-f", "%e %U %S", "-o", timing, host, "open", page, "attach", "command", "command-select-auto", "command",
         "command-select-grab", "answer-export", "HTML | %s | expected" % out, "command",
         "command-export/tamrix", "command", "command-print-pdf"],
        env=env, capture_output=True, text=True, timeout=300)
    with open(timing) as figures:
        wall, user, system = (float(x) for x in figures.read().split()[-3:])
    seconds = (wall, user + system)
    pdfs = [p for p in glob.glob(out + "/*.pdf")]
    texts = glob.glob(out + "/expected*")
    if run.returncode != 0 or len(pdfs) != 1 or not texts:
        raise RuntimeError("%s on %s: exit %d, pdfs %s, text %s\n%s%s" % (
            device, page, run.returncode, pdfs, texts, run.stdout, run.stderr))
    with open(texts[0], encoding="utf-8", errors="replace") as text:
        return pdfs[0], page_text(text.read()), seconds


def ocr(pdf, dpi, folder):
    subprocess.run(["pdftoppm", "-r", str(dpi), "-gray", "-png", pdf, folder + "/page"],
                   check=True, timeout=300)
    pages = sorted(glob.glob(folder + "/page*.png"))
    text = []
    for png in pages:
        text.append(subprocess.run(["tesseract", png, "-", "--psm", "4"], capture_output=True,
                                   text=True, timeout=600, check=True,
                                   env=dict(os.environ, OMP_THREAD_LIMIT="1")).stdout)
    return len(pages), "\n".join(text)


def measure(args, host, page, device):
    """One table row for the page printed for the device."""
    home = tempfile.mkdtemp(prefix="device-ocr-")
    try:
        pdf, expected_text, seconds = print_device_pdf(host, os.path.abspath(page), device, home)
        count, found_text = ocr(pdf, args.dpi, home)
        expected = words(expected_text)
        found = in_order(expected, words(found_text))
        share = found / max(1, len(expected))
        if args.keep:
            name = "%s.%s" % (os.path.splitext(os.path.basename(page))[0],
                              re.sub(r"[^a-z0-9]+", "-", device.lower()).strip("-"))
            os.makedirs(args.keep, exist_ok=True)
            shutil.copy(pdf, os.path.join(args.keep, name + ".pdf"))
            for png in sorted(glob.glob(home + "/page*.png")):
                shutil.copy(png, os.path.join(args.keep, name + "." + os.path.basename(png)))
            with open(os.path.join(args.keep, name + ".ocr.txt"), "w") as out:
                out.write(found_text)
            with open(os.path.join(args.keep, name + ".expected.txt"), "w") as out:
                out.write(expected_text)
        row = "%-28s %-22s %5d %6d %6d %6.1f%% %5.1f/%5.1f" % (
            os.path.basename(page)[:28], device[:22], count, len(expected), found, 100 * share,
            seconds[0], seconds[1])
        return share, row
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--device", action="append", dest="devices")
    parser.add_argument("--keep")
    parser.add_argument("--dpi", type=int, default=216)
    parser.add_argument("--jobs", type=int, default=3)
    parser.add_argument("pages", nargs="+")
    args = parser.parse_args()
    host = os.path.join(args.build, "stage", "bin", "tamrix-host")
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        results = [pool.submit(measure, args, host, page, device)
                   for page in args.pages for device in args.devices or DEVICES]
        print("%-28s %-22s %5s %6s %6s %7s %12s" % ("page", "device", "pages", "words",
                                                    "found", "share", "host s/cpu s"))
        shares = []
        for result in results:
            share, row = result.result()
            shares.append(share)
            print(row, flush=True)
    print("lowest %.1f%%, mean %.1f%% over %d prints" % (
        100 * min(shares), 100 * sum(shares) / len(shares), len(shares)))


if __name__ == "__main__":
    sys.exit(main())
