#!/usr/bin/env bash
# cli.sh <bin folder> [calls]: one CLI function called 10 000 times through the engine's CLI
# layer, through Tcl Expect and through raw pipes, against the same test CLI. Prints the time
# per call of each and the ratios. Targets: engine/expect <= 0.5, engine/raw <= 2.5.
set -euo pipefail
bin=$(cd "$1" && pwd)
calls=${2:-10000}
here=$(cd "$(dirname "$0")" && pwd)
cli="$bin/zovtestcli"
[ -x "$cli" ] && [ -x "$bin/zovclibench" ] || { echo "cli: zovtestcli or zovclibench missing in $bin"; exit 1; }

per_call() { sed -n 's/.* \([0-9.]*\) us\/call.*/\1/p'; }
raw=$("$bin/zovclibench" raw "$cli --sync 1" "$calls")
engine=$("$bin/zovclibench" engine "$cli --sync 1" "$calls")
echo "$raw"
echo "$engine"
if command -v expect >/dev/null; then
  exp=$(expect -f "$here/expect_driver.exp" "$cli" "$calls")
  echo "$exp"
else
  exp=""
  echo "expect: not installed"
fi
python3 - "$(echo "$engine" | per_call)" "$(echo "$raw" | per_call)" "$(echo "$exp" | per_call)" <<'PY'
import sys
engine, raw = float(sys.argv[1]), float(sys.argv[2])
print(f"cli calls: zov {engine:.2f} us, raw pipes {raw:.2f} us, ratio to raw {engine/raw:.2f} (target <= 2.5)")
if sys.argv[3]:
    exp = float(sys.argv[3])
    print(f"cli calls: zov {engine:.2f} us, expect {exp:.2f} us, ratio to expect {engine/exp:.2f} (target <= 0.5)")
PY
