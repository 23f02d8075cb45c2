#!/usr/bin/env bash
# script.sh <bin folder>: the script-level benchmarks, each side by side with its peers in one
# hyperfine run (warm-up, repeated runs, medians):
#   start     engine start to exit for a one-line script   vs python3 -c pass, lua5.4 -e ""
#   analysis  verify run of a 10 000-line script            vs CPython compiling the same program
#   count     10 M iterations of x = x + 1                  vs python3 (for, while), lua5.4
#   calls     10 M calls of a one-line procedure            vs python3, lua5.4
#   cliscript 10 000 calls of a test CLI from a script      vs Tcl Expect, raw pipes
# Prints one line per measured command, "bench: <id> <side> <median seconds>", or
# "bench: <id> not measured yet (<reason>)" while the engine cannot run that script.
set -uo pipefail
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/generate.py" "$work"

# The system's CPython, not a version-manager shim that would add its own start-up time.
python=/usr/bin/python3
[ -x "$python" ] || python=$(python3 -c 'import sys; print(sys.executable)')
lua=$(command -v lua5.4 || true)
calls=$((10000 / ${ZOV_BENCH_SCALE:-1}))
loops=$((10000000 / ${ZOV_BENCH_SCALE:-1}))

not_measured() { echo "bench: $1 not measured yet ($2)"; }

# zovrun with its console commands as arguments (a quoted '|' separates them), run from the bin
# folder so that it finds its grammar tables; standard input stays empty. The text is split
# into words like a shell would, by eval here and by hyperfine.
zov_command() { # <verify 0|1> <interface> <script>
  local verify=""
  [ "$1" = 1 ] && verify="verify -val 1 '|' "
  echo "./zovrun ${verify}notifyline -val 0 '|' interpret -dicofn $2 -scriptfn $3 -params {}"
}

# One run before timing: the engine must reach the expected line, else the reason is printed.
check_run() { # <id> <expected line pattern> <zov command>
  local out
  out=$(cd "$bin" && eval "timeout 300 $3" </dev/null 2>&1)
  if ! grep -q -E "$2" <<<"$out"; then
    local why
    why=$(grep -m1 -E '^(err:|dpb:|eng:-> Erreur|eng:Impossible|Erreur)' <<<"$out")
    not_measured "$1" "${why:-the engine stops before the expected line}"
    return 1
  fi
}

# hyperfine over "name command" pairs; prints the bench lines from its medians.
measure() { # <id> <warm-ups> <runs> <name> <command> [<name> <command> ...]
  local id=$1 warmup=$2 runs=$3 json="$work/$1.json"; shift 3
  local args=()
  while [ $# -gt 0 ]; do args+=(-n "$1" "$2"); shift 2; done
  if ! (cd "$bin" && hyperfine -N -i --style none --warmup "$warmup" --runs "$runs" \
        --export-json "$json" "${args[@]}" >/dev/null 2>&1); then
    not_measured "$id" "hyperfine failed"
    return
  fi
  python3 - "$json" "$id" <<'PY'
import json, sys
for result in json.load(open(sys.argv[1]))["results"]:
    print(f"bench: {sys.argv[2]} {result['command']} {result['median']:.6f}")
PY
}

if [ ! -f "$bin/zov.cgt" ]; then
  for id in start analysis count calls cliscript; do not_measured $id "no zov.cgt in the bin folder"; done
  exit 0
fi

start=$(zov_command 0 "$work/start.qzi" "$work/start.qzs")
if check_run start '^eng:\*\*\* Fin execution' "$start"; then
  peers=(python3 "$python -c pass")
  [ -n "$lua" ] && peers+=(lua "$lua -e \"\"")
  measure start 3 30 zov "$start" "${peers[@]}"
fi

analysis=$(zov_command 1 "$work/start.qzi" "$work/analysis.qzs")
if check_run analysis '^vrf : 1' "$analysis"; then
  measure analysis 3 20 zov "$analysis" \
    python3 "$python -c \"compile(open('$work/analysis.py').read(), '$work/analysis.py', 'exec')\""
fi

count=$(zov_command 0 "$work/start.qzi" "$work/count.qzs")
if check_run count "^trc: [0-9]+:$loops\$" "$count"; then
  peers=(python3-for "$python $work/count.py" python3-while "$python $work/count_while.py")
  [ -n "$lua" ] && peers+=(lua "$lua $work/count.lua")
  measure count 1 5 zov "$count" "${peers[@]}"
fi

procs=$(zov_command 0 "$work/start.qzi" "$work/calls.qzs")
if check_run calls "^trc: [0-9]+:$loops\$" "$procs"; then
  peers=(python3 "$python $work/calls.py")
  [ -n "$lua" ] && peers+=(lua "$lua $work/calls.lua")
  measure calls 1 5 zov "$procs" "${peers[@]}"
fi

if [ ! -x "$bin/zovtestcli" ] || [ ! -x "$bin/zovclibench" ]; then
  not_measured cliscript "zovtestcli or zovclibench missing in $bin"
else
  cli=$(zov_command 0 "$work/cli.qzi" "$work/cli.qzs")
  if check_run cliscript "^trc: [0-9]+:$calls\$" "$cli"; then
    peers=(raw "./zovclibench raw \"./zovtestcli --sync 1\" $calls")
    command -v expect >/dev/null && peers+=(expect "expect -f $here/../cli/expect_driver.exp ./zovtestcli $calls")
    measure cliscript 1 5 zov "$cli" "${peers[@]}"
  fi
fi
exit 0
