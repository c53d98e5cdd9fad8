#!/usr/bin/env python3
"""Times the search window's folder search against trawlex-grep -j1, in paired runs.

Both search the same folder for the same needle: the window (window-search-bench, offscreen,
all files with subfolders) and trawlex-grep -j1 writing TSV to a file. They run alternately
(A B A B ...) after one warm-up each, so load from other work on the machine falls on both
alike; the ratio is the window's median run time over the CLI's median wall-clock time.
The window's time is the run from the click to the idle window (its start-up is not
counted; with --after, it is a run that follows others in the same window, whose font has
measured the characters of the rows already); the CLI's is the whole process. The worst
gap is the longest the window's event loop went without serving a 10 ms timer during a run
(median over the runs), and the stop figure is the time from a click on the cancel button
(due at a set time into a run of the first case) to the idle window, the wait for the
event loop to take it included.

  bench/window-search/run.py [--build build/release] [--corpus DIR] [--mb 300] [--runs 5]
                             [--only LABEL] [--stops N] [--bench PATH] [--after RUNS]
"""

import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

# (label, mode, binary, needle)
CASES = [
    ("normal many", "normal", False, "dim"),
    ("normal few", "normal", False, "GdipCreateBitmapFromScan0"),
    ("normal none", "normal", False, "QuxNowhere"),
    ("japanese", "normal", False, "顧客データ"),
    ("regex many", "regex", False, r"Dim \w+ As (String|Long)"),
    ("word none", "word", False, "quxnowhere"),
]


def window_run(bench, corpus, mode, binary, needle, stop_after=None, after=0):
    command = [bench, corpus, mode, needle] + (["--binary"] if binary else [])
    if after:
        command += ["--after", str(after)]
    if stop_after is not None:
        command += ["--stop-after", str(stop_after)]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    out = subprocess.run(command, capture_output=True, text=True, env=env, check=True).stdout
    return {k: float(v) for k, v in re.findall(r"(\w+)=([-\d.]+)", out)}


def cli_run(grep, corpus, mode, binary, needle, out_path):
    command = [grep, "--format", "tsv", "-j1", "--mode", mode] + (
        ["--binary"] if binary else []) + ["--", needle, corpus]
    with open(out_path, "wb") as out:
        start = time.perf_counter()
        code = subprocess.run(command, stdout=out, stderr=subprocess.DEVNULL).returncode
        wall = time.perf_counter() - start
    if code not in (0, 1):
        sys.exit(f"failed ({code}): {' '.join(command)}")
    with open(out_path, "rb") as out:
        rows = sum(1 for _ in out)
    return wall * 1000.0, rows


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "release"))
    parser.add_argument("--corpus", default=os.path.join(ROOT, "bench", "corpus-window"))
    parser.add_argument("--mb", type=float, default=300, help="corpus size to generate")
    parser.add_argument("--files", type=int, default=12000)
    parser.add_argument("--runs", type=int, default=5, help="pairs of runs per case")
    parser.add_argument("--only", help="run only the cases whose label starts with this")
    parser.add_argument("--stops", type=int, default=5, help="runs stopped mid-way")
    parser.add_argument("--bench", help="window-search-bench to time (default: build it)")
    parser.add_argument("--after", type=int, default=0,
                        help="time the window's run after this many runs in the same window")
    args = parser.parse_args()

    subprocess.run([sys.executable, os.path.join(ROOT, "bench", "grep", "make_corpus.py"),
                    "--out", args.corpus, "--mb", str(args.mb), "--files", str(args.files)],
                   check=True)
    subprocess.run(["cmake", "--build", args.build, "--target", "window-search-bench",
                    "trawlex-grep"], check=True, stdout=subprocess.DEVNULL)
    bench = args.bench or os.path.join(args.build, "bench", "window-search", "window-search-bench")
    grep = os.path.join(args.build, "cli", "trawlex-grep")
    corpus = os.path.abspath(args.corpus)

    print(f"{'case':<13} {'window':>9} {'rows':>7} {'cli -j1':>9} {'rows':>7} {'ratio':>6} "
          f"{'worst gap':>10}")
    ratios = []
    with tempfile.TemporaryDirectory() as tmp:
        out_path = os.path.join(tmp, "out")
        for label, mode, binary, needle in CASES:
            if args.only and not label.startswith(args.only):
                continue
            window_run(bench, corpus, mode, binary, needle)
            cli_run(grep, corpus, mode, binary, needle, out_path)
            windows, clis = [], []
            for _ in range(args.runs):
                windows.append(window_run(bench, corpus, mode, binary, needle, after=args.after))
                clis.append(cli_run(grep, corpus, mode, binary, needle, out_path))
            t_window = statistics.median(w["ms"] for w in windows)
            t_cli = statistics.median(c[0] for c in clis)
            gap = statistics.median(w["worst_gap_ms"] for w in windows)
            ratio = t_window / t_cli
            ratios.append(ratio)
            print(f"{label:<13} {t_window:7.0f}ms {int(windows[-1]['rows']):7d} {t_cli:7.0f}ms "
                  f"{clis[-1][1]:7d} {ratio:5.2f}x {gap:8.1f}ms", flush=True)
        if args.stops:
            stops = [window_run(bench, corpus, "normal", False, "dim", stop_after=200 + 150 * i)
                     for i in range(args.stops)]
            times = [s["stop_ms"] for s in stops if s["stop_ms"] >= 0]
            if times:
                print(f"from a cancel click to the idle window: median "
                      f"{statistics.median(times):.1f}ms, worst {max(times):.1f}ms over "
                      f"{len(times)} runs stopped mid-way")
    if ratios:
        print(f"median ratio {statistics.median(ratios):.2f}x over {len(ratios)} cases")


if __name__ == "__main__":
    sys.exit(main())
