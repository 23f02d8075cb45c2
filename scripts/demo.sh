#!/usr/bin/env bash
# demo.sh <bin folder>: shows the engine's console as a new user meets it.
set -euo pipefail
bin=$(cd "$1" && pwd)
echo "== zovrun -help"
"$bin/zovrun" -help
echo
echo "== a short console session: settings, a breakpoint, the help of one command, exit"
printf 'setbkp -line 12 -state on\ntimeout -val 10\nsetbkp -line 3\nexit\n' | "$bin/zovrun" -v
echo "== exit status $?"
