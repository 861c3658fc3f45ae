#!/usr/bin/env python3
"""Times opening and attaching a page whose pictures sit on a host that never answers.

A loopback server accepts every connection and then says nothing; a page of PICTURES
pictures on it (and as many on a second such port, and some on an address nobody
listens on) is opened and attached in tamrix-host with a fresh profile:

    tamrix-host open PAGE attach

The table gives the wall time of each run; the goal is 3.5 s at most.

    stalled_pictures.py BUILD_DIR [--pictures 12] [--runs 3]
"""
import argparse
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time


def stalled_server():
    """A listening socket whose connections are accepted and held without an answer."""
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(128)
    held = []

    def accept():
        while True:
            try:
                connection, _ = listener.accept()
            except OSError:
                return
            held.append(connection)

    threading.Thread(target=accept, daemon=True).start()
    return listener, held


def closed_port():
    """A loopback port nobody listens on."""
    probe = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    probe.bind(("127.0.0.1", 0))
    port = probe.getsockname()[1]
    probe.close()
    return port


def page(ports, refused, pictures):
    images = []
    for port in ports:
        images += ['<p><img src="http://127.0.0.1:%d/picture%d.png" alt="picture %d"></p>' %
                   (port, i, i) for i in range(pictures)]
    images += ['<p><img src="http://127.0.0.1:%d/gone%d.jpg"></p>' % (refused, i)
               for i in range(4)]
    return ("<!DOCTYPE html><html><head><title>Stalled pictures</title></head><body>"
            "<h1>A page whose pictures never come</h1><p>%s</p>%s</body></html>" %
            ("Words of the article. " * 80, "\n".join(images)))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--pictures", type=int, default=12)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    host = os.path.join(args.build, "stage/bin/tamrix-host")
    servers = [stalled_server(), stalled_server()]
    ports = [server[0].getsockname()[1] for server in servers]
    work = tempfile.mkdtemp(prefix="stalled-pictures-")
    try:
        path = os.path.join(work, "page.html")
        with open(path, "w") as out:
            out.write(page(ports, closed_port(), args.pictures))
        times = []
        for run in range(args.runs):
            home = os.path.join(work, "home%d" % run)
            os.makedirs(home)
            env = dict(os.environ, HOME=home, XDG_DATA_HOME=os.path.join(home, "data"),
                       XDG_CONFIG_HOME=os.path.join(home, "config"),
                       XDG_RUNTIME_DIR=os.path.join(home, "run"),
                       XDG_DOCUMENTS_DIR=os.path.join(home, "docs"))
            os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
            start = time.monotonic()
            done = subprocess.run([host, "open", path, "attach"], env=env, capture_output=True,
                                  timeout=120)
            elapsed = time.monotonic() - start
            times.append(elapsed)
            print("run %d: %.2f s (exit %d)" % (run + 1, elapsed, done.returncode))
            if done.returncode != 0:
                sys.stderr.write(done.stderr.decode(errors="replace")[-2000:])
        print("pictures on stalled hosts: %d, on a refused port: 4; median %.2f s, worst %.2f s "
              "(goal 3.5 s)" % (2 * args.pictures, statistics.median(times), max(times)))
    finally:
        for listener, held in servers:
            listener.close()
            for connection in held:
                connection.close()
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
