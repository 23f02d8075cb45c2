#!/usr/bin/env bash
# bench_run_args_test.sh <source folder>: bench/run.sh refuses a folder that is not a build's bin
# folder before it empties anything beside it.
set -uo pipefail
src=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$work/nobin" "$work/bench-results"
touch "$work/bench-results/keep"
for args in "" "$work/missing" "$work/nobin" "--table $work/nobin" "$work/nobin extra"; do
  # shellcheck disable=SC2086
  bash "$src/bench/run.sh" $args >/dev/null 2>"$work/err"
  status=$?
  [ "$status" = 2 ] || fail "run.sh $args: status $status, expected 2"
  grep -q "usage:" "$work/err" || fail "run.sh $args: no usage line"
done
[ -f "$work/bench-results/keep" ] || fail "the results folder beside a refused folder was emptied"
[ "$failures" = 0 ] && echo "bench_run_args: ok"
exit $((failures > 0))
