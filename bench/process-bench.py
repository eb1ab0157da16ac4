#!/usr/bin/env python3
"""Whole-process figures beside their floors, printed as Markdown tables.

    process-bench.py BUILD_DIR [RUNS]

1. `verbarium-lookup WORD` against WordNet's `wn WORD -synsa`: wall time of the
   whole process (median of RUNS) and its peak resident memory.
2. The first lookup in a fresh process, timed inside it, for en_US, de_DE and
   pt_BR: our reader (open + lookup) against MyThes's constructor + one Lookup.
Every process runs with warm file caches: one untimed run of each goes first.
"""

import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import time

build = pathlib.Path(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
lookup_tool = build / "tools" / "verbarium-lookup"
first_lookup = build / "bench" / "verbarium-first-lookup"
data = pathlib.Path(os.environ.get("VERBARIUM_BENCH_DATA", "/usr/share/mythes"))
wn = shutil.which("wn")


def run_process(command):
    """(wall seconds, peak resident KiB) of one run; its output is dropped."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode not in (0, 1):
        sys.exit(f"process-bench: {command} failed with {process.returncode}")
    return elapsed, usage.ru_maxrss


def measure(command):
    run_process(command)  # warm the caches
    samples = [run_process(command) for _ in range(runs)]
    return statistics.median(s[0] for s in samples), statistics.median(s[1] for s in samples)


def inner(mode, idx, dat, word):
    """Median of the in-process microseconds over RUNS fresh processes."""
    command = [str(first_lookup), mode, str(idx), str(dat), word]
    subprocess.run(command, check=True, capture_output=True)
    values = []
    for _ in range(runs):
        out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
        values.append(float(out))
    return statistics.median(values)


def ms(seconds):
    return f"{seconds * 1000:.1f} ms"


print(f"Whole process, median of {runs} runs, warm caches:")
print()
print("| Command | Word | Wall time | `wn -synsa` | Ratio | Peak RSS | `wn` peak RSS |")
print("|---|---|---:|---:|---:|---:|---:|")
for word in ("run", "bright", "big"):
    ours_time, ours_rss = measure([str(lookup_tool), "--data-dir", str(data), word])
    if wn:
        wn_time, wn_rss = measure([wn, word, "-synsa"])
        print(f"| `verbarium-lookup {word}` | {word} | {ms(ours_time)} | {ms(wn_time)} | {ours_time / wn_time:.2f} "
              f"| {ours_rss / 1024:.1f} MiB | {wn_rss / 1024:.1f} MiB |")
    else:
        print(f"| `verbarium-lookup {word}` | {word} | {ms(ours_time)} | no `wn` (install wordnet) | - "
              f"| {ours_rss / 1024:.1f} MiB | - |")

print()
print(f"First lookup in a fresh process, timed inside it, median of {runs} processes:")
print()
print("| Data | Word | Ours: open + lookup | MyThes: constructor + Lookup | Ratio |")
print("|---|---|---:|---:|---:|")
for base, word in (("th_en_US_v2", "bright"), ("th_de_DE_v2", "Haus"), ("th_pt_BR", "casa")):
    idx, dat = data / f"{base}.idx", data / f"{base}.dat"
    if not idx.exists() or not dat.exists():
        print(f"| {base} | {word} | no data | | |")
        continue
    ours = inner("ours", idx, dat, word)
    mythes = inner("mythes", idx, dat, word)
    print(f"| {base} | {word} | {ours / 1000:.2f} ms | {mythes / 1000:.2f} ms | {ours / mythes:.2f} |")
