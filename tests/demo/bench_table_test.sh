#!/usr/bin/env bash
# bench_table_test.sh <source folder>: bench/table.py on a fixed run log and Google Benchmark
# output: ratios and verdicts, benchmarks without a result, and the README around the table
# left as it was.
set -uo pipefail
src=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cat > "$work/run.log" <<'EOF'
bench-env: 2026-01-01 00:00 UTC on a test CPU, 8 cores
== script/script.sh
bench: start zov 0.012000
bench: start python3 0.010000
bench: start lua 0.002000
bench: analysis not measured yet (the engine stops before the expected line)
bench: count zov 0.400000
bench: count python3-for 0.800000
bench: count python3-while 1.000000
bench: count lua 0.100000
cli calls: zov 40.00 us, raw pipes 20.00 us, ratio to raw 2.00 (target <= 2.5)
cli calls: zov 40.00 us, expect 100.00 us, ratio to expect 0.40 (target <= 0.5)
loop: for 10M x = x + 1: zov 300.00 ms, lua5.4 100.00 ms, ratio 3.00
EOF
cat > "$work/grammar_bench.json" <<'EOF'
{"benchmarks": [
  {"name": "BM_Scan", "run_name": "BM_Scan", "tokens/s": 45000000.0},
  {"name": "BM_ScanAndParse", "run_name": "BM_ScanAndParse", "tokens/s": 2400000.0}
]}
EOF
printf '# Title\n\nbefore\n\n<!-- bench-table:begin -->\nold table\n<!-- bench-table:end -->\n\nafter\n' \
  > "$work/README.md"

python3 "$src/bench/table.py" --log "$work/run.log" --gbench "$work/grammar_bench.json" \
  --readme "$work/README.md" >/dev/null || fail "table.py ended with an error"
readme=$(cat "$work/README.md")

row() { # <text the row starts with after "| "> <text it must hold>
  grep -F -- "| $1" <<<"$readme" | grep -q -F -- "$2" || fail "row \"$1\" lacks \"$2\""$'\n'"$readme"
}
row "Engine start" "| 12.0 ms | CPython \`python3 -c pass\` | 10.0 ms | 1.20 | ≤ 1.0 | **missed** by 20 % |"
row " |  | Lua \`lua5.4 -e \"\"\`" "| 2.00 ms | 6.00 | — | recorded |"
row "Analysis" "not measured yet: the engine stops before the expected line"
row "Counting loop" "| 400 ms | CPython \`for i in range\` | 800 ms | 0.50 | ≤ 1.0 | met |"
row " |  | CPython \`while\`" "| 1000 ms | 0.40 | ≤ 1.0 | met |"
row "Procedure-call loop" "not measured yet: no result in this run"
row "CLI round trip through" "| 40.0 µs | Tcl Expect, same CLI and commands | 100 µs | 0.40 | ≤ 0.5 | met |"
row " |  | raw pipes" "| 20.0 µs | 2.00 | ≤ 2.5 | met |"
row "Scanning a large" "| 45.0 M tokens/s |"
row "Scanning a large" "| met |"
row "Scanning + parsing" "| 2.4 M tokens/s |"
row "Scanning + parsing" "**missed** by 20 %"
row "loop: for 10M x = x + 1" "| 300 ms | lua5.4 | 100 ms | 3.00 | — | recorded |"
grep -q -F "Measured 2026-01-01 00:00 UTC on a test CPU, 8 cores." <<<"$readme" || fail "machine line"
grep -q -F "Targets missed in this run: Engine start" <<<"$readme" || fail "list of missed targets"
grep -q -F "old table" <<<"$readme" && fail "the old table is still there"
[ "$(head -n 3 "$work/README.md")" = $'# Title\n\nbefore' ] || fail "text before the table changed"
[ "$(tail -n 2 "$work/README.md")" = $'\nafter' ] || fail "text after the table changed"
[ "$(grep -c 'bench-table:begin' "$work/README.md")" = 1 ] || fail "table marks duplicated"

# A README without the marks is refused, untouched.
printf '# no marks\n' > "$work/plain.md"
if python3 "$src/bench/table.py" --log "$work/run.log" --readme "$work/plain.md" >/dev/null 2>&1; then
  fail "a README without table marks was accepted"
fi
[ "$(cat "$work/plain.md")" = "# no marks" ] || fail "a README without marks was changed"

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "benchmark table: every check passed"
