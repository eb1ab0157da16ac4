#!/usr/bin/env python3
"""The program's start as a whole process, beside its floors, as Markdown tables.

    start-bench.py BUILD_DIR [RUNS] [SETTLE_SECONDS]

Every figure is taken from outside, as a user meets it: the clock starts as the
process is started and stops when the process tells that its window's first frame is
painted (`bench/FirstFrame.h`); for a start with a site, also when the side panel's
page is shown. SETTLE_SECONDS (default 1.5) after the first frame, the proportional
set size (PSS) of the process and of every process it started (the web engine's
helpers) is summed, with the main process's peak resident size. Then the process is
ended through its standard input.

- ours: the main window as the program's main makes it (`verbarium-program-start`), with the base address it was built with (by default under
  `.example`, which never resolves), and the machine's own answer whether it is online;
- ours with a site: the same, its pages served from this machine by this script, and
  the machine counted as online, so that the side panel opens and shows its page;
- a bare window of the main window's size with one web view at the place of the
  side panel's page (`verbarium-webview-start`), empty or loading the same page;
- a plain Qt Widgets window of that size, in a program that loads no Qt WebEngine
  (`verbarium-widgets-start`).
The kinds run in turn, RUNS times (default 9), after one uncounted run of each;
medians are shown.
"""

import http.server
import os
import pathlib
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

build = pathlib.Path(sys.argv[1])
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
settle = float(sys.argv[3]) if len(sys.argv) > 3 else 1.5
harness = build / "bench" / "verbarium-program-start"
webview = build / "bench" / "verbarium-webview-start"
widgets = build / "bench" / "verbarium-widgets-start"


class Page(http.server.BaseHTTPRequestHandler):
    """Every path is a small page of the site."""

    def do_GET(self):
        body = f"<html><head><title>{self.path}</title></head><body><p>{self.path}</p></body></html>".encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def descendants(pid):
    """The process and every process below it."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            children.setdefault(int(fields[1]), []).append(int(entry))
        except (OSError, IndexError):
            pass
    found, queue = [], [pid]
    while queue:
        current = queue.pop()
        found.append(current)
        queue.extend(children.get(current, []))
    return found


def kib(path, key):
    try:
        with open(path) as lines:
            for line in lines:
                if line.startswith(key + ":"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def start(command, env, page=False):
    """One start: (first paint s, page shown s or None, tree PSS KiB, processes, peak RSS KiB)."""
    began = time.perf_counter()
    child = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=log, env=env,
                             text=True, start_new_session=True)
    try:
        line = child.stdout.readline()
        painted = time.perf_counter() - began
        if not line.startswith("painted"):
            sys.exit(f"start-bench: {command[0]} did not paint ({line.strip() or 'no output'}); see {log.name}")
        shown = None
        if page:
            line = child.stdout.readline()
            shown = time.perf_counter() - began
            if not line.startswith("page"):
                sys.exit(f"start-bench: {command[0]} did not show its page ({line.strip() or 'no output'})")
        time.sleep(settle)
        tree = descendants(child.pid)
        pss = sum(kib(f"/proc/{pid}/smaps_rollup", "Pss") for pid in tree)
        peak = kib(f"/proc/{child.pid}/status", "VmHWM")
        return painted, shown, pss, len(tree), peak, line
    finally:
        child.stdin.close()
        try:
            child.wait(timeout=20)
        except subprocess.TimeoutExpired:
            os.killpg(child.pid, signal.SIGKILL)
            child.wait()


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Page)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    site = f"http://127.0.0.1:{server.server_address[1]}"

    aside = tempfile.TemporaryDirectory()
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    if os.getuid() == 0:
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    # The program's files and its single-instance socket, never the user's.
    env["XDG_RUNTIME_DIR"] = aside.name
    env["VERBARIUM_REGISTRY_FILE"] = os.path.join(aside.name, "registry.ini")
    env["VERBARIUM_SETTINGS_FILE"] = os.path.join(aside.name, "settings.ini")

    # The size and the side panel's page area come from our own window.
    shape = start([str(harness)], env)[5].split()
    size, place = shape[1], shape[2]
    kinds = {
        "ours": ([str(harness)], False),
        "ours, site": ([str(harness), site], True),
        "web view": ([str(webview), size, place], False),
        "web view, page": ([str(webview), size, place, site + "/FAQ/index.html"], True),
        "plain": ([str(widgets), size], False),
    }
    found = {kind: [] for kind in kinds}
    for run in range(runs + 1):
        for kind, (command, page) in kinds.items():
            result = start(command, env, page)
            if run > 0:
                found[kind].append(result)
    server.shutdown()

    def med(kind, index):
        return statistics.median(r[index] for r in found[kind])

    def ms(seconds):
        return f"{seconds * 1000:.0f} ms"

    def mib(kib_value):
        return f"{kib_value / 1024:.0f} MiB"

    what = {
        "ours": "Verbarium Pro, as built (base address under a reserved name)",
        "ours, site": "Verbarium Pro with a site served from this machine, online",
        "web view": f"bare window {size.replace('x', ' × ')} with one `QWebEngineView` at the side panel's place",
        "web view, page": "the same, loading the side panel's page from the same server",
        "plain": f"plain Qt Widgets window {size.replace('x', ' × ')}, no Qt WebEngine loaded",
    }
    print(f"Whole process, offscreen, medians of {runs} starts of each, taken in turn after one uncounted run of "
          f"each; memory {settle:g} s after the first paint:")
    print()
    print("| Process | First paint | Page shown | PSS of the process tree | Processes | Peak RSS (main process) |")
    print("|---|---:|---:|---:|---:|---:|")
    for kind in kinds:
        page = ms(med(kind, 1)) if kinds[kind][1] else "-"
        print(f"| {what[kind]} | {ms(med(kind, 0))} | {page} | {mib(med(kind, 2))} | {med(kind, 3):.0f} "
              f"| {mib(med(kind, 4))} |")
    print()
    goals = [
        ("First paint, as built", med("ours", 0), "bare window with one web view", med("web view", 0), 0.45),
        ("First paint, as built", med("ours", 0), "plain Qt Widgets window", med("plain", 0), 1.5),
        ("PSS of the process tree, as built", med("ours", 2), "bare window with one web view", med("web view", 2),
         0.35),
        ("First paint, with a site", med("ours, site", 0), "bare window with one web view", med("web view", 0), 0.5),
        ("Page shown, with a site", med("ours, site", 1), "bare web view loading the same page",
         med("web view, page", 1), None),
    ]
    print("| Measure | Ours | Floor | Floor's figure | Ratio | Goal |")
    print("|---|---:|---|---:|---:|---|")
    for measure, ours, floor, floor_value, goal in goals:
        shown = (lambda v: mib(v)) if "PSS" in measure else ms
        verdict = "-" if goal is None else (f"≤ {goal:g}: met" if ours / floor_value <= goal else f"≤ {goal:g}: missed")
        print(f"| {measure} | {shown(ours)} | {floor} | {shown(floor_value)} | {ours / floor_value:.2f} | {verdict} |")


log = open(os.path.join(tempfile.gettempdir(), f"start-bench-{os.getpid()}.log"), "w")
main()
