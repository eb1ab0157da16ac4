#!/usr/bin/env python3
"""Whole-process figures beside their floors, printed as Markdown tables.

    process-bench.py BUILD_DIR [RUNS]

1. `verbarium-lookup WORD` against WordNet's `wn WORD -synsa`: wall time of the
   whole process (median of RUNS) and its peak resident memory, after the floors
   of any start: `/bin/true`, a process that only loads Qt Core, and the tool's
   own `--version`.
2. `verbarium-lookup --meanings WORD` (meanings with WordNet's definitions)
   against `wn WORD -over` (every sense with its definition), the same way.
3. The first lookup in a fresh process, timed inside it, for en_US, de_DE and
   pt_BR: our reader (open + lookup) against MyThes's constructor + one Lookup.
Every process runs with warm file caches: one untimed run of each goes first.
Ours and `wn` run in turn, so that the machine's other work weighs on both alike.
"""

import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

build = pathlib.Path(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
lookup_tool = build / "tools" / "verbarium-lookup"
wordnet = pathlib.Path(os.environ.get("VERBARIUM_BENCH_WORDNET", "/usr/share/wordnet"))
qt_start = build / "bench" / "verbarium-qt-start"
first_lookup = build / "bench" / "verbarium-first-lookup"
data = pathlib.Path(os.environ.get("VERBARIUM_BENCH_DATA", "/usr/share/mythes"))
wn = shutil.which("wn")


def run_process(command, check_status=True):
    """Wall seconds of one run; its output is dropped. wn's status is its count of
    senses, so only ours is checked."""
    start = time.perf_counter()
    status = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    elapsed = time.perf_counter() - start
    if status < 0 or (check_status and status not in (0, 1)):
        sys.exit(f"process-bench: {command} failed with {status}")
    return elapsed


def peak_rss_kib(command):
    """Peak resident memory of one run, through GNU time: a child forked from this
    Python process would start with Python's own resident size."""
    with tempfile.NamedTemporaryFile("r") as out:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out.name] + command,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return int(out.read().split()[-1])


def measure(*commands):
    """Median wall time and peak resident memory of each command, their runs taken
    in turn, so that the other work on the machine weighs on all of them alike and
    their ratios hold. Only our own processes' statuses are checked (see run_process)."""
    checked = [command[0] != wn for command in commands]
    for command, check in zip(commands, checked):
        run_process(command, check)  # warm the caches
    times = [[] for _ in commands]
    for _ in range(runs):
        for command, check, found in zip(commands, checked, times):
            found.append(run_process(command, check))
    return [(statistics.median(found), statistics.median(peak_rss_kib(command) for _ in range(3)))
            for command, found in zip(commands, times)]


def inner(idx, dat, word):
    """Medians of the in-process microseconds over RUNS fresh processes, ours and
    MyThes's, run in turn."""
    commands = [[str(first_lookup), mode, str(idx), str(dat), word] for mode in ("ours", "mythes")]
    values = [[], []]
    for command in commands:
        subprocess.run(command, check=True, capture_output=True)
    for _ in range(runs):
        for command, found in zip(commands, values):
            found.append(float(subprocess.run(command, check=True, capture_output=True, text=True).stdout))
    return statistics.median(values[0]), statistics.median(values[1])


def ms(seconds):
    return f"{seconds * 1000:.1f} ms"


def against_wn(ours, wn_arguments):
    """The cells of a row, ours and wn run in turn: the wall times, their ratio and
    the peak resident memories; wn's left empty where it is not installed."""
    if wn:
        (ours_time, ours_rss), (wn_time, wn_rss) = measure(ours, [wn, *wn_arguments])
        return (f"{ms(ours_time)} | {ms(wn_time)} | {ours_time / wn_time:.2f} "
                f"| {ours_rss / 1024:.1f} MiB | {wn_rss / 1024:.1f} MiB")
    ((ours_time, ours_rss),) = measure(ours)
    return f"{ms(ours_time)} | no `wn` (install wordnet) | - | {ours_rss / 1024:.1f} MiB | -"


print(f"Whole process, median of {runs} runs, warm caches:")
print()
print("| Command | Word | Wall time | `wn -synsa` | Ratio | Peak RSS | `wn` peak RSS |")
print("|---|---|---:|---:|---:|---:|---:|")
# The floors of a process's start: any process, then one that loads Qt Core and ends.
floors = [("`/bin/true` (a process that starts and ends)", ["/bin/true"]),
          ("`verbarium-qt-start` (loads Qt Core and ends)", [str(qt_start)]),
          ("`verbarium-lookup --version` (parses its options and ends)", [str(lookup_tool), "--version"])]
floors = [(what, command) for what, command in floors if pathlib.Path(command[0]).exists()]
for (what, _), (floor_time, floor_rss) in zip(floors, measure(*(command for _, command in floors))):
    print(f"| {what} | - | {ms(floor_time)} | | | {floor_rss / 1024:.1f} MiB | |")
# Words that WordNet has as adjectives, so that `wn -synsa` looks something up and
# prints it too ("run" has no adjective sense: `wn run -synsa` prints nothing).
for word in ("good", "bright", "big"):
    ours = [str(lookup_tool), "--data-dir", str(data), word]
    print(f"| `verbarium-lookup {word}` | {word} | {against_wn(ours, [word, '-synsa'])} |")

print()
print(f"Meanings as a whole process, median of {runs} runs, warm caches (WordNet in {wordnet}):")
print()
print("| Command | Wall time | `wn WORD -over` | Ratio | Peak RSS | `wn` peak RSS |")
print("|---|---:|---:|---:|---:|---:|")
# The thesaurus folder and WordNet's, as the tool is pointed at fixtures: nothing
# else is scanned, and the meanings get their definitions as wn's senses do.
for word in ("bright", "run", "dog"):
    ours = [str(lookup_tool), "--data-dir", str(data), "--data-dir", str(wordnet), "--meanings", word]
    print(f"| `verbarium-lookup --meanings {word}` | {against_wn(ours, [word, '-over'])} |")

print()
print(f"First lookup in a fresh process, timed inside it, median of {runs} processes:")
print()
print("| Data | Word | Ours: open + lookup | MyThes: constructor + Lookup | Ratio |")
print("|---|---|---:|---:|---:|")
for base, word in (("th_en_US_v2", "bright"), ("th_de_DE_v2", "gut"), ("th_pt_BR", "casa")):
    idx, dat = data / f"{base}.idx", data / f"{base}.dat"
    if not idx.exists() or not dat.exists():
        print(f"| {base} | {word} | no data | | |")
        continue
    ours, mythes = inner(idx, dat, word)
    print(f"| {base} | {word} | {ours / 1000:.2f} ms | {mythes / 1000:.2f} ms | {ours / mythes:.2f} |")
