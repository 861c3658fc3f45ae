#!/usr/bin/env python3
"""Times a whole tamrix-host process clipping the shipped example article, beside the
sqlite3 command-line program inserting the same rows.

Each run is a new process with the README's example command in the examples folder:

    tamrix-host open article.html attach answer-save T key ctrl+s

into a profile (XDG folders in a temporary folder) whose repository one untimed run has
made, so every timed run adds one entry as a person clipping again would (--fresh: a new
profile each run, the repository made by the run). The rows that run stored (the entry
and its log line) are then dumped as INSERT statements and

    sqlite3 COPY.db < rows.sql

is timed the same way on a copy of the repository without them. The table gives the
median, min and max of each (and of the host's processor time, which a loaded machine
disturbs less than the wall time), and the load average before and after.

    clip_time.py BUILD_DIR [--runs 10] [--fresh] [--pause 3]
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

COMMAND = ["open", "article.html", "attach", "answer-save", "T", "key", "ctrl+s"]


def profile_env(root):
    env = dict(os.environ)
    for name, sub in (("HOME", "home"), ("XDG_DATA_HOME", "data"),
                      ("XDG_CONFIG_HOME", "config"), ("XDG_RUNTIME_DIR", "run"),
                      ("XDG_DOCUMENTS_DIR", "docs")):
        path = os.path.join(root, sub)
        os.makedirs(path, mode=0o700, exist_ok=True)
        env[name] = path
    return env


def timed(argv, cwd, env, stdin=None, cpu=None):
    """Wall seconds of one run; its processor seconds (user and system) go to `cpu`."""
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    result = subprocess.run(argv, cwd=cwd, env=env, stdin=stdin,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"{' '.join(argv)} failed ({result.returncode}): "
                 f"{result.stderr.decode(errors='replace')}")
    if cpu is not None:
        now = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu.append(now.ru_utime - used.ru_utime + now.ru_stime - used.ru_stime)
    return elapsed


def summary(name, seconds):
    return (f"{name:<34} median {statistics.median(seconds):.3f} s  "
            f"min {min(seconds):.3f}  max {max(seconds):.3f}  ({len(seconds)} runs)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", help="the build folder (holding stage/)")
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--fresh", action="store_true",
                        help="a new profile for every run")
    parser.add_argument("--pause", type=float, default=0,
                        help="seconds to wait before each run (3: the side-pane program a "
                             "run started has ended, so each run starts its own)")
    args = parser.parse_args()

    stage = os.path.abspath(os.path.join(args.build, "stage"))
    host = os.path.join(stage, "bin", "tamrix-host")
    examples = os.path.join(stage, "data", "examples")
    work = tempfile.mkdtemp(prefix="clip-time-")
    try:
        load_before = os.getloadavg()
        env = profile_env(os.path.join(work, "profile"))
        timed([host] + COMMAND, examples, env)
        clips = []
        processor = []
        for run in range(args.runs):
            if args.fresh:
                env = profile_env(os.path.join(work, f"profile-{run}"))
            time.sleep(args.pause)
            clips.append(timed([host] + COMMAND, examples, env, cpu=processor))

        database = os.path.join(env["XDG_DATA_HOME"], "Olvan", "Tamrix", "tamrix.db")
        rows = os.path.join(work, "rows.sql")
        with open(rows, "w") as out:
            for table in ("entry", "log"):
                dump = subprocess.run(
                    ["sqlite3", "-cmd", f".mode insert {table}", database,
                     f"SELECT * FROM {table} WHERE rowid = (SELECT max(rowid) FROM {table})"],
                    check=True, capture_output=True, text=True).stdout
                out.write(dump)
        inserts = []
        for run in range(args.runs):
            copy = os.path.join(work, f"copy-{run}.db")
            shutil.copy(database, copy)
            subprocess.run(["sqlite3", copy,
                            "DELETE FROM entry WHERE rowid = (SELECT max(rowid) FROM entry);"
                            "DELETE FROM log WHERE rowid = (SELECT max(rowid) FROM log);"],
                           check=True)
            with open(rows) as stdin:
                inserts.append(timed(["sqlite3", copy], work, env, stdin))
        load_after = os.getloadavg()

        print(f"command: tamrix-host {' '.join(COMMAND)}"
              f"{'  (fresh profile each run)' if args.fresh else ''}"
              f"{f'  ({args.pause:g} s pause before each run)' if args.pause else ''}")
        print(summary("tamrix-host clip", clips))
        print(summary("  its processor time (user+system)", processor))
        print(summary("sqlite3 insert of the same rows", inserts))
        print(f"load average before {load_before[0]:.2f}, after {load_after[0]:.2f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
