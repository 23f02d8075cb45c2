#!/usr/bin/env bash
# run.sh [--table] <bin folder>: runs every benchmark; with --table it also rewrites the table of bench/README.md:
# the micro-benchmarks built into <build>/bench (Google Benchmark, JSON kept), then every
# side-by-side script bench/*/*.sh (each receives the bin folder). The whole output is kept in
# <build>/bench-results/run.log, from which bench/table.py writes the table; rerun the table
# alone with: python3 bench/table.py --log <log> --gbench <build>/bench-results/*.json --readme bench/README.md
set -uo pipefail
write_table=0
if [ "${1:-}" = "--table" ]; then
  write_table=1
  shift
fi
# The results folder sits beside the bin folder and is emptied first: a folder that is not a
# build's bin folder must never get that far.
if [ $# -ne 1 ] || [ ! -d "$1" ] || [ ! -x "$1/zovrun" ]; then
  echo "usage: bench/run.sh [--table] <build>/bin (a folder holding zovrun)" >&2
  exit 2
fi
bin=$(cd "$1" && pwd) || exit 2
here=$(cd "$(dirname "$0")" && pwd)
results="$bin/../bench-results"
rm -rf "$results"
mkdir -p "$results"
log="$results/run.log"
shopt -s nullglob

version() { "$@" 2>&1 | head -n 1; }

{
  cpu=$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')
  echo "bench-env: $(date -u '+%Y-%m-%d %H:%M UTC') on ${cpu:-an unknown CPU}, $(nproc) cores," \
    "load average $(cut -d' ' -f1 /proc/loadavg) at the start"
  python=/usr/bin/python3
  [ -x "$python" ] || python=python3
  echo "bench-env: $(version "$python" --version), $(version lua5.4 -v | cut -d' ' -f1-2)," \
    "expect $(version expect -v | sed 's/.*version //'), $(version hyperfine --version)"
  scale=${ZOV_BENCH_SCALE:-1}
  [ "$scale" = 1 ] || echo "bench-env: TRIAL RUN, script loops divided by $scale"

  for b in "$bin"/../bench/*; do
    [ -x "$b" ] && [ -f "$b" ] || continue
    name=$(basename "$b")
    echo "== $name"
    "$b" --benchmark_min_time=0.5 --benchmark_out="$results/$name.json" --benchmark_out_format=json \
      || echo "== $name failed"
  done
  for s in "$here"/*/*.sh; do
    echo "== $(basename "$(dirname "$s")")/$(basename "$s")"
    bash "$s" "$bin" || echo "== $(basename "$s") failed"
  done
} 2>&1 | tee "$log"

if [ "$write_table" = 1 ]; then
  python3 "$here/table.py" --log "$log" --gbench "$results"/*.json --readme "$here/README.md"
else
  echo "bench: results in $results (make bench-table rewrites bench/README.md from a run)"
fi
