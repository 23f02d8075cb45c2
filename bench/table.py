#!/usr/bin/env python3
"""table.py --log <run log> [--gbench <file.json> ...] --readme <README.md>

Writes the benchmark table of bench/README.md (between its two table marks) from one run of
bench/run.sh: the "bench:" lines of the script-level benchmarks, the summary lines of
bench/cli/cli.sh and of bench/compare.sh, the JSON output of the Google Benchmark programs and the "bench-env:" lines
that describe the machine. Every benchmark of the table appears, measured or not.
"""
import argparse
import json
import re
import sys

BEGIN = "<!-- bench-table:begin -->"
END = "<!-- bench-table:end -->"

# (id, benchmark, unit of the ZOV column, [(peer side, peer label, target ratio or None)])
# A target of None means the ratio is recorded, not held to a target.
RATIO_ROWS = [
    ("start", "Engine start: a one-line script with a 100-line interface file, process start to exit",
     "ms", [("python3", "CPython `python3 -c pass`", 1.0), ("lua", 'Lua `lua5.4 -e ""`', None)]),
    ("analysis", "Analysis of a 10 000-line script (`verify`), process start to verdict",
     "ms", [("python3", "CPython `compile()` of the same program", 1.0)]),
    ("count", "Counting loop: 10 M times `x = x + 1`",
     "ms", [("python3-for", "CPython `for i in range`", 1.0), ("python3-while", "CPython `while`", 1.0),
            ("lua", "Lua 5.4 numeric `for`", None)]),
    ("calls", "Procedure-call loop: 10 M times `call add1(x)`",
     "ms", [("python3", "CPython function call", 1.0), ("lua", "Lua 5.4 function call", None)]),
    ("cli", "CLI round trip through the engine's CLI layer, per call (10 000 calls)",
     "µs", [("expect", "Tcl Expect, same CLI and commands", 0.5), ("raw", "raw pipes (C++ floor)", 2.5)]),
    ("cliscript", "CLI round trip from a script: 10 000 calls, process start to exit",
     "ms", [("expect", "Tcl Expect, same CLI and commands", 0.5), ("raw", "raw pipes (C++ floor)", 2.5)]),
]

# (id, benchmark, Google Benchmark name, minimum in tokens per second)
THROUGHPUT_ROWS = [
    ("scan", "Scanning a large generated text (test grammar)", "BM_Scan", 10e6),
    ("parse", "Scanning + parsing the same text", "BM_ScanAndParse", 3e6),
]


def read_log(path):
    """Measured values by (id, side) in the unit of their row, and the reasons given for
    benchmarks that could not be measured."""
    values, missing, env, others = {}, {}, [], []
    text = open(path, encoding="utf-8", errors="replace").read() if path else ""
    for line in text.splitlines():
        m = re.match(r"bench: (\S+) not measured yet \((.*)\)\s*$", line)
        if m:
            missing[m.group(1)] = m.group(2)
            continue
        m = re.match(r"bench: (\S+) (\S+) ([0-9.eE+-]+)\s*$", line)
        if m:
            values[(m.group(1), m.group(2))] = float(m.group(3)) * 1000.0  # seconds to ms
            continue
        m = re.match(r"cli calls: zov ([0-9.]+) us, (raw pipes|expect) ([0-9.]+) us", line)
        if m:
            values[("cli", "zov")] = float(m.group(1))
            values[("cli", "raw" if m.group(2) == "raw pipes" else "expect")] = float(m.group(3))
            continue
        # Any other side-by-side run through bench/compare.sh.
        m = re.match(r"(.+): zov ([0-9.]+) ms, (\S+) ([0-9.]+) ms, ratio [0-9.]+\s*$", line)
        if m:
            others.append((m.group(1), m.group(3), float(m.group(2)), float(m.group(4))))
            continue
        m = re.match(r"cli: (.*missing.*)$", line)
        if m:
            missing["cli"] = m.group(1)
            continue
        m = re.match(r"bench-env: (.*)$", line)
        if m:
            env.append(m.group(1).strip())
    return values, missing, env, others


def read_gbench(paths):
    rates = {}
    for path in paths or []:
        try:
            data = json.load(open(path, encoding="utf-8"))
        except (OSError, ValueError) as e:
            print(f"table: {path} skipped: {e}", file=sys.stderr)
            continue
        for b in data.get("benchmarks", []):
            if "tokens/s" in b:
                rates[b.get("run_name", b["name"])] = float(b["tokens/s"])
    return rates


def number(value, unit):
    if value >= 100:
        return f"{value:.0f} {unit}"
    if value >= 10:
        return f"{value:.1f} {unit}"
    return f"{value:.2f} {unit}"


def verdict_ratio(ratio, target):
    if target is None:
        return "recorded"
    if ratio <= target:
        return "met"
    return f"**missed** by {100.0 * (ratio / target - 1.0):.0f} %"


def build_table(values, missing, rates, others=()):
    out = ["| Benchmark | ZOV | Peer | Peer's time | Ratio ZOV / peer | Target | Result |",
           "|---|---|---|---|---|---|---|"]
    missed = []
    for rid, title, unit, peers in RATIO_ROWS:
        zov = values.get((rid, "zov"))
        for i, (side, label, target) in enumerate(peers):
            name = title if i == 0 else ""
            target_text = f"≤ {target:.1f}" if target is not None else "—"
            peer = values.get((rid, side))
            if zov is None or peer is None:
                reason = missing.get(rid, "no result in this run")
                zov_text = number(zov, unit) if zov is not None else "—"
                peer_text = number(peer, unit) if peer is not None else "—"
                out.append(f"| {name} | {zov_text if i == 0 else ''} | {label} | {peer_text} | — | "
                           f"{target_text} | not measured yet: {reason} |")
                continue
            ratio = zov / peer
            result = verdict_ratio(ratio, target)
            if result.startswith("**missed**"):
                missed.append(f"{title} against {label}")
            out.append(f"| {name} | {number(zov, unit) if i == 0 else ''} | {label} | {number(peer, unit)} | "
                       f"{ratio:.2f} | {target_text} | {result} |")
    for rid, title, gname, minimum in THROUGHPUT_ROWS:
        rate = rates.get(gname)
        target_text = f"≥ {minimum / 1e6:.0f} M tokens/s"
        if rate is None:
            out.append(f"| {title} | — | — | — | — | {target_text} | not measured yet: no result in this run |")
            continue
        if rate >= minimum:
            result = "met"
        else:
            result = f"**missed** by {100.0 * (1.0 - rate / minimum):.0f} %"
            missed.append(title)
        out.append(f"| {title} | {rate / 1e6:.1f} M tokens/s | — | — | — | {target_text} | {result} |")
    # Side-by-side runs of other benchmarks (bench/compare.sh), recorded as they came.
    for label, peer_label, zov, peer in others:
        out.append(f"| {label} | {number(zov, 'ms')} | {peer_label} | {number(peer, 'ms')} | "
                   f"{zov / peer:.2f} | — | recorded |")
    return out, missed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--log", required=True)
    parser.add_argument("--gbench", nargs="*", default=[])
    parser.add_argument("--readme", required=True)
    args = parser.parse_args()

    values, missing, env, others = read_log(args.log)
    rates = read_gbench(args.gbench)
    table, missed = build_table(values, missing, rates, others)
    block = [BEGIN, ""]
    if env:
        block += ["Measured " + "; ".join(env) + ".", ""]
    block += table
    block += ["", "Targets missed in this run: " + ("; ".join(missed) if missed else "none") + ".", "", END]

    text = open(args.readme, encoding="utf-8").read()
    if BEGIN not in text or END not in text:
        sys.exit(f"table: {args.readme} has no table marks ({BEGIN} ... {END})")
    head, rest = text.split(BEGIN, 1)
    tail = rest.split(END, 1)[1]
    with open(args.readme, "w", encoding="utf-8") as f:
        f.write(head + "\n".join(block) + tail)
    print("\n".join(table))
    print(f"table: {args.readme} updated")


if __name__ == "__main__":
    main()
