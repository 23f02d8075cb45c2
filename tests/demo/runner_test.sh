#!/usr/bin/env bash
# runner_test.sh <source folder>: the demo runner against a stand-in engine (fake_zovrun), so
# that its verdicts, skips, summary and exit status are checked whether or not the real engine
# runs scripts yet.
set -uo pipefail
src=$(cd "$1" && pwd)
runner="$src/scripts/demo.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A bin folder holding the stand-in engine and a grammar table, and a demo folder of scripts.
make_bench() { # <name>: creates $work/<name>/bin and $work/<name>/demo
  mkdir -p "$work/$1/bin" "$work/$1/demo"
  cp "$src/tests/demo/fake_zovrun" "$work/$1/bin/zovrun"
  : > "$work/$1/bin/zov.cgt"
  printf ';\r\n' > "$work/$1/demo/demo.qzi"
}

# A script: its header lines, then the stand-in's instructions after a first statement.
script() { # <bench> <file> <lines...>
  local file="$work/$1/demo/$2" line; shift 2
  : > "$file"
  for line in "$@"; do [[ $line == ";>"* || $line == ";!"* ]] || printf '%s\n' "$line" >> "$file"; done
  echo "x = 1" >> "$file"
  for line in "$@"; do [[ $line == ";>"* || $line == ";!"* ]] && printf '%s\n' "$line" >> "$file"; done
}

run() { # <bench> [runner arguments...]: sets $out and $status
  local bench=$1; shift
  out=$(cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY DEMO_DIR="$work/$bench/demo" DEMO_LIMIT=3 \
    bash "$runner" "$work/$bench/bin" "$@" 2>&1)
  status=$?
}

expect_status() { [ "$status" = "$1" ] || fail "$2: exit status $status, expected $1"$'\n'"$out"; }
expect_text() { grep -q -F -- "$1" <<<"$out" || fail "$2: no \"$1\" in the output"$'\n'"$out"; }
expect_no_text() { ! grep -q -F -- "$1" <<<"$out" || fail "$2: \"$1\" in the output"$'\n'"$out"; }

# Every script gives its expected verdict and key traces: exit 0, summary, readable lines.
make_bench good
script good a_ok.qzs '; Checks that pass' '; trace: all 3 passed' \
  ';> trc: 4:all 3 passed' ';> cmd: ok : 9 : fine'
script good b_nok.qzs '; expect: nok' ';> cmd: wng : 3 : looks odd' ';> cmd: nok : 5 : fault found'
script good c_none.qzs '; expect: none' '; expects: ok' ';> trc: 2:just tracing'
script good d_error.qzs '; expect: error' ';> err: 004 : Division par 0'
run good
expect_status 0 "all expected verdicts"
expect_text "Summary: 4 passed, 0 failed, 0 not run" "all expected verdicts"
expect_text "== a_ok.qzs - Checks that pass" "title line"
expect_text "all 3 passed" "trace payload"
expect_text "verdict ok at line 9: fine" "ok verdict"
expect_text "verdict nok at line 5: fault found" "nok verdict"
expect_text "warning line 3: looks odd" "warning"
expect_text "error   004 : Division par 0" "error line"
expect_text "header key 'expects' is not known" "misspelt header key"
expect_no_text "trc: " "readable mode hides the tags"
expect_no_text "eng:*** " "readable mode hides the phase lines"
# Scripts run in name order.
order=$(grep -o -E '^== [a-d]_[a-z]+\.qzs' <<<"$out" | tr '\n' ' ')
[ "$order" = "== a_ok.qzs == b_nok.qzs == c_none.qzs == d_error.qzs " ] || fail "order: $order"

# The raw lines, by flag and by environment.
run good --raw "$work/good/demo/a_ok.qzs"
expect_status 0 "--raw"
expect_text "trc: 4:all 3 passed" "--raw shows tagged lines"
expect_text "eng:*** Fin execution" "--raw shows phase lines"
out=$(DEMO_RAW=1 DEMO_DIR="$work/good/demo" bash "$runner" "$work/good/bin" "$work/good/demo/b_nok.qzs" 2>&1)
grep -q -F "cmd: nok : 5 : fault found" <<<"$out" || fail "DEMO_RAW=1 shows tagged lines"$'\n'"$out"

# Wrong verdicts, missing traces, a hung run and an engine error line each fail the demo.
make_bench bad
script bad a_wrong.qzs '; expect: ok' ';> cmd: nok : 2 : broken'
script bad b_trace.qzs '; trace: never written' ';> cmd: ok : 2 : fine'
script bad c_hang.qzs ';! hang'
script bad d_stderr.qzs ';! stderr'
script bad e_good.qzs ';> cmd: ok : 1 : fine'
script bad f_limit.qzs '; limit: 1' ';! hang'
run bad
expect_status 1 "failures"
expect_text "FAIL a_wrong.qzs: verdict nok, expected ok" "wrong verdict"
expect_text "FAIL b_trace.qzs: no trace holding \"never written\"" "missing trace"
expect_text "stopped after 3 s" "hung run"
expect_text "FAIL c_hang.qzs: verdict hung, expected ok" "hung run"
expect_text "FAIL d_stderr.qzs: verdict error, expected ok" "standard error line"
expect_text "engine  Erreur: CLI inexistant" "standard error line shown"
expect_text "stopped after 1 s" "a script's own time limit"
expect_text "Summary: 1 passed, 5 failed, 0 not run (failed: a_wrong.qzs b_trace.qzs c_hang.qzs d_stderr.qzs f_limit.qzs)" \
  "failure summary"

# Parameters, {tmp}, the reply time-out and the working folder reach the engine.
make_bench settings
script settings a.qzs '; params: "{tmp}";2' '; timeout: 7' ';> cmd: ok : 1 : fine'
run settings
expect_status 0 "settings"
expect_text "cwd=bin timeout=7 params=\"/" "parameters and time-out sent"
tmpdir=$(grep -o -E 'params="[^"]*";2$' <<<"$out" | sed -E 's/params="(.*)";2/\1/')
[[ $tmpdir == /*/a.qzs.tmp ]] || fail "{tmp} not replaced by the run's folder"$'\n'"$out"
[ ! -e "$tmpdir" ] || fail "the {tmp} folder of the run is left behind: $tmpdir"

# A script that needs a display is not run without one; alone, nothing ran: status 77.
make_bench display
script display a.qzs '; needs: display' ';> cmd: ok : 1 : fine'
script display b.qzs ';> cmd: ok : 1 : fine'
run display
expect_status 0 "display skip among passes"
expect_text "SKIPPED: no display available" "display skip message"
expect_text "Summary: 1 passed, 0 failed, 1 not run" "display skip summary"
run display "$work/display/demo/a.qzs"
expect_status 77 "only a skipped script"

# An engine that cannot run scripts: nothing is run, the reason is given, status 77.
make_bench notready
rm "$work/notready/bin/zov.cgt"
script notready a.qzs ';> cmd: ok : 1 : fine'
run notready
expect_status 77 "engine without its grammar"
expect_text "the engine cannot run scripts yet (the script grammar zov.cgt is not in" "not ready reason"
expect_text "Summary: 0 passed, 0 failed, 1 not run" "not ready summary"
make_bench silent
printf '#!/usr/bin/env bash\necho "ZOV Engine - Initialisation"\nexit 1\n' > "$work/silent/bin/zovrun"
script silent a.qzs ';> cmd: ok : 1 : fine'
run silent
expect_status 77 "engine that stops after its first line"
expect_text "the engine stops after its first line" "silent engine reason"

# Bad invocations.
out=$(bash "$runner" 2>&1); status=$?
expect_status 2 "no bin folder"
run good "$work/good/demo/missing.qzs"
expect_status 2 "unknown script"

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "demo runner: every check passed"
