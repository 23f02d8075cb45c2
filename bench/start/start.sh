#!/usr/bin/env bash
# start.sh <bin folder> [runs]: where the start of a one-line script goes. zovrun is timed from
# process start to exit at four depths, side by side with python3 -c pass and lua5.4 -e "":
#   process    zovrun -help: the program alone, no table read
#   tables     interpret with an empty interface file and no script: the three grammar tables
#              and the 58 built-ins, then the analysis stops at the missing script
#   interface  the same with the 100-line interface file of the table's start benchmark
#   run        the one-line script (x = 1) with that interface: the whole run
# Prints medians and processor times, the share of each step (from processor time) and the ratios of the whole run to its peers
# (target: run / python3 <= 1.0). zovrun always ends with status 1, so failures are not
# hyperfine's business here: each depth is checked once for its expected last line instead.
set -uo pipefail
bin=$(cd "$1" && pwd)
runs=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/../script/generate.py" "$work" >/dev/null
: >"$work/empty.qzi"

python=/usr/bin/python3
[ -x "$python" ] || python=$(python3 -c 'import sys; print(sys.executable)')
lua=$(command -v lua5.4 || true)

if [ ! -f "$bin/zov.cgt" ]; then
  echo "start: not measured (no zov.cgt in $bin)"
  exit 0
fi

interpret() { # <interface> <script>
  echo "./zovrun notifyline -val 0 '|' interpret -dicofn $1 -scriptfn $2 -params {}"
}
process="./zovrun -help"
tables=$(interpret "$work/empty.qzi" "$work/missing.qzs")
interface=$(interpret "$work/start.qzi" "$work/missing.qzs")
run=$(interpret "$work/start.qzi" "$work/start.qzs")

expect_last() { # <name> <pattern> <command>
  local out
  out=$(cd "$bin" && eval "timeout 60 $3" </dev/null 2>&1)
  if ! tail -n 1 <<<"$out" | grep -q -E "$2"; then
    echo "start: not measured ($1 ended with: $(tail -n 1 <<<"$out"))"
    exit 0
  fi
}
expect_last process '^ +exit +Exit program$' "$process"
expect_last tables '^eng:-> Erreur: Execution impossible du script$' "$tables"
expect_last interface '^eng:-> Erreur: Execution impossible du script$' "$interface"
expect_last run '^eng:\*\*\* Fin execution$' "$run"

args=(-n process "$process" -n tables "$tables" -n interface "$interface" -n run "$run"
      -n python3 "$python -c pass")
[ -n "$lua" ] && args+=(-n lua "$lua -e \"\"")
(cd "$bin" && hyperfine -N -i --style none --warmup 3 --runs "$runs" --export-json "$work/start.json" \
  "${args[@]}" >/dev/null 2>&1) || { echo "start: not measured (hyperfine failed)"; exit 0; }

python3 - "$work/start.json" <<'PY'
import json, sys
results = {r["command"]: r for r in json.load(open(sys.argv[1]))["results"]}
median = {name: r["median"] * 1000.0 for name, r in results.items()}
cpu = {name: (r["user"] + r["system"]) * 1000.0 for name, r in results.items()}
for name in ("process", "tables", "interface", "run", "python3", "lua"):
    if name in median:
        print(f"start: {name:9} median {median[name]:7.2f} ms, processor time {cpu[name]:6.2f} ms")
# The shares come from processor time (user + system, mean): on a busy machine the wall-clock
# times also carry the waits for a processor, which belong to no step.
run = cpu["run"]
steps = [("program start and end", cpu["process"]),
         ("grammar tables and built-ins", cpu["tables"] - cpu["process"]),
         ("100-line interface file", cpu["interface"] - cpu["tables"]),
         ("one-line script: load, analyse, run", run - cpu["interface"])]
for label, ms in steps:
    print(f"start: share of the run: {label}: {ms:.2f} ms ({100.0 * ms / run:.0f} %)")
for peer, text in (("python3", "python3 -c pass"), ("lua", 'lua5.4 -e ""')):
    if peer in median:
        target = " (target <= 1.0)" if peer == "python3" else ""
        print(f"start: run / {text} = {median['run'] / median[peer]:.2f} by medians, "
              f"{run / cpu[peer]:.2f} by processor time{target}")
PY
