#!/usr/bin/env bash
# demo.sh <bin folder>: shows the engine's console as a new user meets it.
set -euo pipefail
bin=$(cd "$1" && pwd)

echo "== zovrun -help"
"$bin/zovrun" -help
echo

echo "== a short console session (verbose): a breakpoint, settings, a refused line, exit"
status=0
printf 'setbkp -line 12 -state on\ntimeout -val 10\nsync -val 3\nsetbkp -line 3\nexit\n' \
  | "$bin/zovrun" -v || status=$?
echo "== exit status $status (0: ended by exit)"
echo

echo "== interpret without its parameters: the engine names what is missing and ends"
status=0
printf 'interpret -scriptfn "demo.qzs" -params {a;b}\n' | "$bin/zovrun" || status=$?
echo "== exit status $status (1: end of a run)"
