#!/usr/bin/env bash
# Generate's core at an earlier commit and now, on the same machine in the same run:
# verbarium-bench's GetSynonyms and ExpandWord rows (a Generate is an ExpandWord per
# typed word), each binary run in turn, RUNS times, and each row's median time now
# over its median time then.
#
#   bench/generate-against.sh [COMMIT [OLD_BUILD [NEW_BUILD [RUNS]]]]
#
# COMMIT defaults to 079cfa9^, the tree before meanings came into the core. The
# commit's tree is exported (git archive) into OLD_BUILD/src and built there;
# NEW_BUILD (default build-bench) is this checkout's. Both are configured with
# BUILD_TYPE (default Release) when they have no CMakeCache.txt yet; only the
# verbarium-bench target is built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=${1:-079cfa9^}
old=${2:-${TMPDIR:-/tmp}/verbarium-generate-against}
new=${3:-$root/build-bench}
runs=${4:-5}
type=${BUILD_TYPE:-Release}

configure() { # source build
  if [ ! -f "$2/CMakeCache.txt" ]; then
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DVERBARIUM_BUILD_BENCHMARKS=ON \
      -DVERBARIUM_BUILD_UI=OFF -DVERBARIUM_BUILD_TESTS=OFF >/dev/null
  fi
  cmake --build "$2" --target verbarium-bench >/dev/null
}

if [ ! -d "$old/src" ]; then
  mkdir -p "$old/src"
  git -C "$root" archive "$commit" | tar -x -C "$old/src"
fi
echo "generate-against: building $commit in $old and this checkout in $new" >&2
configure "$old/src" "$old/build"
configure "$root" "$new"

python3 - "$old/build/bench/verbarium-bench" "$new/bench/verbarium-bench" "$runs" "$commit" <<'EOF'
import csv, io, statistics, subprocess, sys

then_binary, now_binary, runs, commit = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
args = ["--benchmark_filter=GetSynonyms|ExpandWord", "--benchmark_min_time=0.2", "--benchmark_format=csv"]


def run(binary):
    out = subprocess.run([binary] + args, check=True, capture_output=True, text=True).stdout
    rows = {}
    for row in csv.DictReader(io.StringIO(out[out.index("name,"):])):
        rows[row["name"].replace("/manual_time", "")] = (float(row["real_time"]), float(row["overhead"] or 0))
    return rows


times = {"then": {}, "now": {}}
for _ in range(runs):
    for side, binary in (("then", then_binary), ("now", now_binary)):
        for name, value in run(binary).items():
            times[side].setdefault(name, []).append(value)

print(f"Generate's core, {commit} and now, medians of {runs} runs taken in turn:")
print()
print("| Row | Then | Now | Now ÷ then | Then ÷ MyThes floor | Now ÷ MyThes floor |")
print("|---|---:|---:|---:|---:|---:|")
for name, then_values in times["then"].items():
    now_values = times["now"].get(name)
    if not now_values:
        continue
    then_time = statistics.median(t for t, _ in then_values)
    now_time = statistics.median(t for t, _ in now_values)
    then_ratio = statistics.median(r for _, r in then_values)
    now_ratio = statistics.median(r for _, r in now_values)
    print(f"| {name} | {then_time:.1f} µs | {now_time:.1f} µs | {now_time / then_time:.2f} "
          f"| {then_ratio:.2f} | {now_ratio:.2f} |")
EOF
