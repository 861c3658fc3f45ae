#!/usr/bin/env python3
"""Prints real pages whole (nothing grabbed or selected) to PDF for a device and counts what
a reader would notice: pages, blank pages, blank pages at the end, and pictures narrower or
wider than the device's page.

For every page: tamrix-host opens it in a fresh home, attaches, lets go of the block it
chose by itself (key escape) and prints (command-print-pdf, the device chosen in the
dialog). The PDF's pictures are listed with pdfimages and its pages rendered small with
pdftoppm; a page counts as blank when no pixel is darker than 246 of 255.

    whole_pages.py BUILD_DIR [--device "Amazon Kindle DX"] [--jobs 3] page.html[.gz]...
"""
import argparse
import concurrent.futures
import glob
import gzip
import os
import shutil
import subprocess
import sys
import tempfile


def blank(pgm):
    with open(pgm, "rb") as picture:
        pixels = picture.read().split(b"\n", 3)[3]
    return min(pixels) > 245


def measure(host, page, device):
    home = tempfile.mkdtemp(prefix="whole-page-")
    try:
        env = dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/data",
                   XDG_CONFIG_HOME=home + "/config", TMPDIR=home + "/tmp")
        for folder in ("out", "tmp", "config"):
            os.makedirs(os.path.join(home, folder))
        markup = home + "/page.html"
        opener = gzip.open if page.endswith(".gz") else open
        with opener(page, "rb") as source, open(markup, "wb") as copy:
            copy.write(source.read())
        run = subprocess.run(
            [host, "-q", "open", markup, "attach", "key", "escape", "answer-print",
             "%s | %s/out" % (device, home), "command", "command-print-pdf"],
            env=env, capture_output=True, text=True, timeout=300)
        pdfs = glob.glob(home + "/out/*.pdf")
        if run.returncode != 0 or len(pdfs) != 1:
            return None, run.stderr.strip().splitlines()[-1:] or ["no pdf"]
        listed = subprocess.run(["pdfimages", "-list", pdfs[0]], capture_output=True,
                                text=True, check=True).stdout.splitlines()[2:]
        widths = {int(line.split()[3]) for line in listed}
        subprocess.run(["pdftoppm", "-r", "10", "-gray", pdfs[0], home + "/p"], check=True)
        pages = [blank(p) for p in sorted(glob.glob(home + "/p*.pgm"))]
        trailing = len(pages) - len("".join("x" if b else "." for b in pages).rstrip("x"))
        return (len(pages), sum(pages), trailing, sorted(widths)), None
    finally:
        shutil.rmtree(home, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--device", default="Amazon Kindle DX")
    parser.add_argument("--jobs", type=int, default=3)
    parser.add_argument("pages", nargs="+")
    args = parser.parse_args()
    host = os.path.join(args.build, "stage", "bin", "tamrix-host")
    totals = [0, 0, 0, 0]
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        jobs = [(page, pool.submit(measure, host, page, args.device)) for page in args.pages]
        print("%-40s %6s %6s %9s  %s" % ("page", "pages", "blank", "trailing", "picture widths"))
        for page, job in jobs:
            figures, failure = job.result()
            name = os.path.basename(os.path.dirname(page)) or page
            if figures is None:
                print("%-40s failed: %s" % (name[:40], " ".join(failure)))
                continue
            count, blanks, trailing, widths = figures
            totals = [totals[0] + 1, totals[1] + count, totals[2] + blanks,
                      totals[3] + (trailing > 0)]
            print("%-40s %6d %6d %9d  %s" % (name[:40], count, blanks, trailing,
                                             " ".join(map(str, widths))), flush=True)
    print("%d prints, %d pages, %d blank pages, %d prints ending in blank pages" % tuple(totals))


if __name__ == "__main__":
    sys.exit(main())
