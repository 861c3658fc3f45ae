#!/usr/bin/env python3
"""Measures what an idle explorer bar costs: processor time of the window and the pane.

Under an Xvfb server of its own and with a fresh profile, tamrix-browser opens the shipped
article; the toolbar button is pressed, the first paragraph clicked and saved with Ctrl+S,
which opens the explorer bar with the side-pane program in it. Once the pane shows, nobody
touches anything for SECONDS; the processor time (user + system, from /proc/PID/stat) of
tamrix-browser and of lorvane over that time is printed, per 10 s.

    idle_bar_cpu.py BUILD_DIR [--seconds 20]
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time


def run(command, env, limit=20):
    return subprocess.run(command, env=env, capture_output=True, text=True,
                          timeout=limit).stdout.strip()


def wait_for_window(title, env, limit=30):
    deadline = time.monotonic() + limit
    while time.monotonic() < deadline:
        found = run(["xdotool", "search", "--name", title], env)
        if found:
            return found.split()[0]
        time.sleep(0.3)
    return ""


def cpu_ticks(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime, stime


def pid_of(program, env):
    """The newest process of that name running with this run's runtime folder."""
    found = subprocess.run(["pgrep", "-x", program, "-U", str(os.getuid())],
                           capture_output=True, text=True).stdout.split()
    found.reverse()  # the newest first
    mark = ("XDG_RUNTIME_DIR=" + env["XDG_RUNTIME_DIR"]).encode()
    for pid in map(int, found):
        try:
            with open("/proc/%d/environ" % pid, "rb") as environ:
                if mark in environ.read().split(b"\0"):
                    return pid
        except OSError:
            pass
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--seconds", type=float, default=20)
    parser.add_argument("--screenshot", help="a PNG of the screen after the idle time")
    parser.add_argument("--perf", help="record the window's profile into this perf file")
    arguments = parser.parse_args()
    stage = os.path.join(os.path.abspath(arguments.build), "stage")
    home = tempfile.mkdtemp(prefix="idle-bar-")
    env = dict(os.environ, HOME=home, XDG_DATA_HOME=home + "/data",
               XDG_CONFIG_HOME=home + "/config", XDG_RUNTIME_DIR=home + "/run",
               XDG_DOCUMENTS_DIR=home + "/documents", DISPLAY=":%d" % (90 + os.getpid() % 9))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
    xvfb = subprocess.Popen(["Xvfb", env["DISPLAY"], "-screen", "0", "1280x900x24", "-nolisten",
                             "tcp"], stderr=subprocess.DEVNULL)
    browser = None
    try:
        time.sleep(1)
        host = os.path.join(stage, "bin", "tamrix-host")
        run([host, "set", "Operate\\InitOperation", "0"], env)
        article = os.path.join(stage, "data", "examples", "article.html")
        browser = subprocess.Popen([os.path.join(stage, "bin", "tamrix-browser"), article],
                                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        window = wait_for_window("Lighthouse Keepers", env)
        if not window:
            sys.exit("the browser window did not appear")
        run(["xdotool", "windowfocus", "--sync", window], env)
        time.sleep(2)
        width = int(run(["xdotool", "getwindowgeometry", "--shell", window],
                        env).split("WIDTH=")[1].split()[0])
        # The toolbar button, then a paragraph of the article, then Ctrl+S and the title.
        run(["xdotool", "mousemove", str(width - 40), "20", "click", "1"], env)
        time.sleep(2)
        run(["xdotool", "mousemove", "300", "300", "mousemove_relative", "3", "2", "click",
             "1"], env)
        time.sleep(1)
        run(["xdotool", "key", "ctrl+s"], env)
        dialog = wait_for_window("Save", env, 15)
        if not dialog:
            sys.exit("no save dialog")
        run(["xdotool", "windowfocus", "--sync", dialog], env)
        time.sleep(0.5)
        run(["xdotool", "key", "Return"], env)
        time.sleep(5)  # the pane's program starts, its page loads and is painted once
        deadline = time.monotonic() + 30
        pane = None
        while time.monotonic() < deadline and pane is None:
            pane = pid_of("lorvane", env)
            time.sleep(0.5)
        if pane is None:
            sys.exit("the side-pane program did not start")
        time.sleep(3)  # a program started ahead that the bar did not adopt ends meanwhile
        pane = pid_of("lorvane", env) or pane
        processes = {"tamrix-browser": browser.pid, "lorvane": pane}
        before = {name: cpu_ticks(pid) for name, pid in processes.items()}
        if arguments.perf:
            subprocess.run(["perf", "record", "-F", "499", "-g", "-o", arguments.perf, "-p", str(browser.pid),
                            "--", "sleep", str(arguments.seconds)], capture_output=True)
        else:
            time.sleep(arguments.seconds)
        after = {name: cpu_ticks(pid) for name, pid in processes.items()}
        if arguments.screenshot:
            run(["import", "-window", "root", arguments.screenshot], env)
        hertz = os.sysconf("SC_CLK_TCK")
        for name in processes:
            spent = (after[name] - before[name]) * 1000 / hertz
            print("%-15s %7.0f ms CPU in %.0f s idle, %6.0f ms per 10 s" %
                  (name, spent, arguments.seconds, spent * 10 / arguments.seconds))
    finally:
        if browser:
            browser.terminate()
            try:
                browser.wait(10)
            except subprocess.TimeoutExpired:
                browser.kill()
        pane = pid_of("lorvane", env)
        if pane:
            os.kill(pane, 15)
        xvfb.terminate()
        xvfb.wait(10)
        shutil.rmtree(home, ignore_errors=True)


if __name__ == "__main__":
    main()
