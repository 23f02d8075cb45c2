#!/usr/bin/env python3
"""generate.py <folder>: writes the inputs of the script-level benchmarks, each ZOV script
beside the equivalent program of its peers, so that both sides do the same work.

  start.qzs, start.qzi      engine start: a one-line script with a 100-line interface file
  analysis.qzs, analysis.py a 10 000-line script and the same statements in Python
  count.qzs/.py/_while.py/.lua   a counting loop of 10 million iterations
  calls.qzs/.py/.lua        10 million calls of a one-line procedure
  cli.qzs, cli.qzi          10 000 calls of one function of the test CLI
Loop counts can be lowered for a quick trial with ZOV_BENCH_SCALE (a divisor, default 1).
"""
import os
import sys

SCALE = max(1, int(os.environ.get("ZOV_BENCH_SCALE", "1")))
LOOPS = 10_000_000 // SCALE
CLI_CALLS = 10_000 // SCALE
ANALYSIS_LINES = 10_000


def write(folder, name, text, newline="\n"):
    with open(os.path.join(folder, name), "w", encoding="utf-8", newline=newline) as f:
        f.write(text)


def interface_lines():
    """A 100-line interface file as the IDE writes it: one CLI, 86 functions, constants, a macro."""
    lines = [";Liste des CLI", 'CLI testcli : "zovtestcli --sync 1|>>|1|exit|1|0"', "", "",
             ";Liste des fonctions", '&notify(@1) : "notifyline -val %s"']
    markers = "&$#@_"
    for i in range(1, 86):
        params = ", ".join(f"@{n}" for n in range(1, i % 3 + 1))
        command = " ".join([f"command{i}"] + ["%s"] * (i % 3))
        lines.append(f'{markers[i % 5]}function{i}({params}) : "{command}"')
    lines += ["", "", ";Liste des constantes", "CONST LIMIT : 100", 'CONST NAME : "bench"', "", "",
              ";Liste des macros", "MACRO TWICE : {x = x + 1 & x = x + 1}"]
    return lines


def analysis_block(i):
    """Ten lines of ZOV and the same statements in Python (no closing lines there)."""
    v = f"v{i % 10}"
    zov = [
        f"{v} = {i} + 2 * 3",
        f"if {v} > 10 and {v} <> 20 then",
        f"  w = {v} - 1",
        "else",
        f"  w = {v} + 1",
        "end",
        "for j = 1 to 3 do",
        f"  {v} = {v} + j * w",
        "end",
        f'trace("block ", {i}, " gives ", {v})',
    ]
    py = [
        f"{v} = {i} + 2 * 3",
        f"if {v} > 10 and {v} != 20:",
        f"    w = {v} - 1",
        "else:",
        f"    w = {v} + 1",
        "for j in range(1, 4):",
        f"    {v} = {v} + j * w",
        f'print("block ", {i}, " gives ", {v})',
    ]
    return zov, py


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: generate.py <folder>")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)

    qzi = "\r\n".join(interface_lines()) + "\r\n"
    write(folder, "start.qzi", qzi, newline="")
    write(folder, "start.qzs", "x = 1\n")
    write(folder, "cli.qzi", qzi, newline="")

    zov, py = [], []
    for i in range(ANALYSIS_LINES // 10):
        z, p = analysis_block(i)
        zov += z
        py += p
    write(folder, "analysis.qzs", "\n".join(zov) + "\n")
    write(folder, "analysis.py", "\n".join(py) + "\n")

    # Each program ends by showing x, so that a run can be checked before it is timed.
    write(folder, "count.qzs", f"x = 0\nfor i = 1 to {LOOPS} do\n  x = x + 1\nend\ntrace(x)\n")
    write(folder, "count.py", f"x = 0\nfor i in range(1, {LOOPS} + 1):\n    x = x + 1\nprint(x)\n")
    write(folder, "count_while.py", f"x = 0\ni = 1\nwhile i <= {LOOPS}:\n    x = x + 1\n    i = i + 1\nprint(x)\n")
    # Script variables are global: the peers use globals too.
    write(folder, "count.lua", f"x = 0\nfor i = 1, {LOOPS} do\n  x = x + 1\nend\nprint(x)\n")

    write(folder, "calls.qzs",
          f"x = 0\nproc add1(v = 0)\n  x = v + 1\nend\nfor i = 1 to {LOOPS} do\n  call add1(x)\nend\ntrace(x)\n")
    write(folder, "calls.py",
          f"def add1(v):\n    global x\n    x = v + 1\n\nx = 0\nfor i in range(1, {LOOPS} + 1):\n    add1(x)\nprint(x)\n")
    write(folder, "calls.lua",
          f"function add1(v)\n  x = v + 1\nend\nx = 0\nfor i = 1, {LOOPS} do\n  add1(x)\nend\nprint(x)\n")

    write(folder, "cli.qzs", f"t = testcli()\nn = 0\nfor i = 1 to {CLI_CALLS} do\n  n = n + notify(0)\nend\ntrace(n)\n")


if __name__ == "__main__":
    main()
