#!/usr/bin/env bash
# loop.sh <bin folder>: the counting loop (10 M times x = x + 1, global variables) run by the
# engine's library, side by side with CPython (for over range, and while) and Lua 5.4 in one
# hyperfine run each, through compare.sh. The engine side is process start, grammar table,
# parse, analysis and run, line notification off; the results are checked before timing.
set -euo pipefail
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runner="$bin/../bench/zov_loop_bench"
python=/usr/bin/python3
[ -x "$python" ] || python=$(command -v python3)
zov="$runner --script $here/count.qzs"
for check in "$zov" "$python $here/count_for.py" "$python $here/count_while.py" "lua5.4 $here/count.lua"; do
  out=$($check)
  if [ "$out" != "x = 10000000" ]; then
    echo "loop: $check gives '$out', not measured"
    exit 1
  fi
done
bash "$here/../compare.sh" "loop: for 10M x = x + 1" "$zov" "python3-for" "$python $here/count_for.py" 5
bash "$here/../compare.sh" "loop: for 10M x = x + 1" "$zov" "python3-while" "$python $here/count_while.py" 5
bash "$here/../compare.sh" "loop: for 10M x = x + 1" "$zov" "lua5.4" "lua5.4 $here/count.lua" 5
