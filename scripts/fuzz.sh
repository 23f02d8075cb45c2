#!/usr/bin/env bash
# fuzz.sh <folder of fuzzers> <seconds each>
# Runs every libFuzzer target for a bounded time on a scratch copy of its seed corpus
# (fuzz/corpus/<name>/), so that new inputs never land in the source tree.
set -euo pipefail
dir=$(cd "$1" && pwd)
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
targets=("$dir"/*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets"
  exit 0
fi
# Failing inputs are kept beside the fuzzers, to turn into regression cases.
crashes=$(cd "$dir/.." && pwd)/crashes
mkdir -p "$crashes"
failed=0
for target in "${targets[@]}"; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  [ -d "$root/fuzz/corpus/$name" ] && cp -r "$root/fuzz/corpus/$name/." "$work/"
  dict=()
  [ -f "$root/fuzz/corpus/$name.dict" ] && dict=(-dict="$root/fuzz/corpus/$name.dict")
  echo "fuzz: $name for ${seconds}s"
  if ! (cd "$work" && ASAN_OPTIONS=detect_leaks=1 "$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=0 -artifact_prefix="$crashes/$name-" "${dict[@]}" "$work" \
        >"$work/log" 2>&1); then
    echo "fuzz: $name FAILED (input kept in $crashes)"; grep -v -E '^#[0-9]+' "$work/log" | tail -n 60; failed=1
  fi
  rm -rf "$work"
done
exit $failed
