#!/usr/bin/env bash
# run.sh <bin folder>: runs every benchmark: the micro-benchmarks built into <build>/bench and
# every side-by-side script bench/*/*.sh (each receives the bin folder).
set -euo pipefail
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
shopt -s nullglob
for b in "$bin"/../bench/*; do
  [ -x "$b" ] && [ -f "$b" ] && { echo "== $(basename "$b")"; "$b" --benchmark_min_time=0.5; }
done
for s in "$here"/*/*.sh; do
  echo "== $(basename "$(dirname "$s")")/$(basename "$s")"
  bash "$s" "$bin"
done
