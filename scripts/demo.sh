#!/usr/bin/env bash
# demo.sh [--raw] <bin folder> [script.qzs ...]
#
# Runs the demo test bench: every examples/demo/*.qzs (or the scripts named) through zovrun,
# exactly as the IDE starts a run (from the bin folder, so that the engine finds its grammar
# tables, with the demo interface file and the script's parameters), and shows for each its
# traces and its verdict, then one summary line.
#
# A script states what it expects in its leading comment lines:
#   ; expect: ok | nok | error | none   verdict the script must give (default ok; none: it ends
#                                      without ok or nok; error: it stops on an error line)
#   ; params: a;b;c                    the script parameters %%1..%%3; {tmp} stands for a fresh
#                                      empty folder of the run, removed afterwards
#   ; trace: <text>                    a text that one of its traces must contain (repeatable)
#   ; needs: display                   without a display, run only when <script>.answers holds the
#                                      operator's answers (one line per dialog, see cli/brunox)
#   ; timeout: <seconds>               CLI reply time-out for the run (engine default 5 s)
#   ; limit: <seconds>                 time after which the run counts as hung (default
#                                      DEMO_LIMIT); for scripts that wait for a person
# Any other leading comment line describes the script; the first one is shown as its title.
#
# Options: --raw (or DEMO_RAW=1) shows the engine's tagged lines as they come.
# Environment: DEMO_DIR (folder of the scripts and demo.qzi, default examples/demo),
#   DEMO_LIMIT (seconds before a hung run is stopped, default 60).
# Exit status: 0 when every script that ran gave its expected verdict and traces; 1 when one
# did not; 77 when nothing was run (the engine cannot run scripts yet, or no display for the
# only scripts asked for).
set -uo pipefail

raw=${DEMO_RAW:-0}
[ "$raw" = 0 ] || [ "$raw" = 1 ] || raw=1
args=()
for a in "$@"; do
  case $a in
    --raw) raw=1 ;;
    -h|--help) awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit 0 ;;
    *) args+=("$a") ;;
  esac
done
if [ ${#args[@]} -lt 1 ]; then
  echo "usage: demo.sh [--raw] <bin folder> [script.qzs ...]" >&2
  exit 2
fi
bin=$(cd "${args[0]}" 2>/dev/null && pwd) || { echo "demo: no folder ${args[0]}" >&2; exit 2; }
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
demo_dir=$(cd "${DEMO_DIR:-$root/examples/demo}" 2>/dev/null && pwd) \
  || { echo "demo: no folder ${DEMO_DIR:-$root/examples/demo}" >&2; exit 2; }
limit=${DEMO_LIMIT:-60}
interface="$demo_dir/demo.qzi"
[ -f "$interface" ] || { echo "demo: no interface file $interface" >&2; exit 2; }

scripts=()
if [ ${#args[@]} -gt 1 ]; then
  for s in "${args[@]:1}"; do
    [ -f "$s" ] || { echo "demo: no script $s" >&2; exit 2; }
    scripts+=("$(cd "$(dirname "$s")" && pwd)/$(basename "$s")")
  done
else
  while IFS= read -r s; do scripts+=("$s"); done < <(LC_ALL=C ls "$demo_dir"/*.qzs 2>/dev/null)
fi
if [ ${#scripts[@]} -eq 0 ]; then
  echo "demo: no script in $demo_dir" >&2
  exit 2
fi

if [ -t 1 ]; then
  bold=$'\e[1m'; green=$'\e[32m'; red=$'\e[31m'; yellow=$'\e[33m'; dim=$'\e[2m'; off=$'\e[0m'
else
  bold=; green=; red=; yellow=; dim=; off=
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One engine run as the IDE makes it: console commands on standard input, working folder = bin.
# Standard error is merged so that the engine's "Erreur: ..." lines show where they happened.
run_engine() { # <interface> <script> <params> <reply timeout or empty> [<limit>]
  (cd "$bin" && {
    printf 'notifyline -val 0\n'
    if [ -n "$4" ]; then printf 'timeout -val %s\n' "$4"; fi
    printf 'interpret -dicofn "%s" -scriptfn "%s" -params {%s}\n' "$1" "$2" "$3"
  } | timeout -k 5 "${5:-$limit}" ./zovrun 2>&1)
}

# The engine runs scripts when its script grammar is in place and a one-statement script
# reaches execution.
engine_ready() {
  [ -x "$bin/zovrun" ] || { why="no zovrun in $bin"; return 1; }
  [ -f "$bin/zov.cgt" ] || { why="the script grammar zov.cgt is not in $bin"; return 1; }
  printf 'x = 1\n' > "$work/probe.qzs"
  printf ';\n' > "$work/probe.qzi"
  local out
  out=$(run_engine "$work/probe.qzi" "$work/probe.qzs" "" "")
  if ! grep -q '^eng:\*\*\* Fin execution' <<<"$out"; then
    why="a one-line script does not run: $(grep -m1 -E '^(eng:-> Erreur|err:|eng:Impossible)' <<<"$out" \
      || echo 'the engine stops after its first line')"
    return 1
  fi
}

# Leading comment lines of a script: "key value" for the known keys, "title text" for the rest.
read_header() {
  awk '
    /^[ \t]*$/ { next }
    !/^[ \t]*;/ { exit }
    {
      line = $0; sub(/^[ \t]*;[ \t]*/, "", line); sub(/\r$/, "", line)
      if (match(line, /^(expect|params|trace|needs|timeout|limit)[ \t]*:/)) {
        key = line; sub(/[ \t]*:.*/, "", key)
        value = line; sub(/^[^:]*:[ \t]*/, "", value); sub(/[ \t]+$/, "", value)
        print key " " value
      } else if (match(line, /^[a-z]+:/)) {
        key = line; sub(/:.*/, "", key); print "unknown " key
      } else if (line != "") print "title " line
    }' "$1"
}

# Readable form of one engine line (empty output: the line is not shown).
render() {
  local line=$1
  case $line in
    "trc: "*)
      local body=${line#trc: }
      printf '   %strace%s %4s  %s\n' "$bold" "$off" "${body%%:*}" "${body#*:}" ;;
    "cmd: ok : "*|"cmd: nok : "*)
      local body=${line#cmd: } word rest lineno text
      word=${body%% : *}; rest=${body#* : }; lineno=${rest%% : *}; text=${rest#* : }
      printf '   %sverdict%s %s at line %s: %s\n' "$bold" "$off" "$word" "$lineno" "$text" ;;
    "cmd: wng : "*)
      local rest=${line#cmd: wng : }
      printf '   %swarning%s line %s: %s\n' "$yellow" "$off" "${rest%% : *}" "${rest#* : }" ;;
    "cmd: inf : "*) printf '   info    %s\n' "${line#cmd: inf : }" ;;
    "out:"*) printf '   %scli%s     %s\n' "$dim" "$off" "${line#out:}" ;;
    "err: "*) printf '   %serror%s   %s\n' "$red" "$off" "${line#err: }" ;;
    "dpb: "*) printf '   %sinterface error%s %s\n' "$red" "$off" "${line#dpb: }" ;;
    "eng:-> Erreur"*|"eng: Mauvaise"*|"eng:Impossible"*|"eng: Le "*|"eng: Les "*)
      printf '   %sengine%s  %s\n' "$red" "$off" "${line#eng:}" ;;
    "Erreur:"*|"["*"] Terminaison"*) printf '   %sengine%s  %s\n' "$red" "$off" "$line" ;;
    "exp: "*) printf '   export  %s\n' "${line#exp: }" ;;
    "syn: "*) printf '   sync    %s\n' "${line#syn: }" ;;
    *) ;;
  esac
}

# Verdict of a finished run from its lines: ok, nok, error, none (ended without a verdict),
# hung (stopped after the time limit) or silent (the engine never reached execution).
verdict_of() { # <output file> <engine exit status>
  local first
  first=$(grep -m1 -E '^cmd: (ok|nok) : ' "$1" | sed -E 's/^cmd: (ok|nok) : .*/\1/')
  if [ -n "$first" ]; then echo "$first"
  elif [ "$2" = 124 ] || [ "$2" = 137 ]; then echo hung
  elif grep -q -E '^(err: |dpb: |eng:-> Erreur|Erreur:)' "$1"; then echo error
  elif grep -q '^eng:\*\*\* Fin execution' "$1"; then echo none
  else echo silent
  fi
}

have_display() { [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; }

why=
if ! engine_ready; then
  echo "${bold}ZOV demo${off}: the engine cannot run scripts yet ($why)."
  echo "Summary: 0 passed, 0 failed, ${#scripts[@]} not run"
  exit 77
fi

echo "${bold}ZOV demo${off}: ${#scripts[@]} script(s) from ${demo_dir#"$root"/} with $(basename "$interface")"
passed=0; failed=0; notrun=0; failures=()
for script in "${scripts[@]}"; do
  name=$(basename "$script")
  expect=ok; params=; needs=; reply=; title=; traces=(); unknown=(); run_limit=$limit
  while IFS= read -r entry; do
    key=${entry%% *}; value=${entry#* }
    [ "$value" = "$key" ] && value=
    case $key in
      expect) expect=$value ;;
      params) params=$value ;;
      trace) traces+=("$value") ;;
      needs) needs=$value ;;
      timeout) reply=$value ;;
      limit) [[ $value =~ ^[0-9]+$ ]] && run_limit=$value ;;
      title) [ -z "$title" ] && title=$value ;;
      unknown) unknown+=("$value") ;;
    esac
  done < <(read_header "$script")

  echo
  echo "${bold}== $name${off}${title:+ - $title}"
  echo "   expects $expect${params:+, parameters {$params\}}"
  for key in "${unknown[@]}"; do echo "   ${yellow}note${off}: header key '$key' is not known and was ignored"; done
  # Without a screen, a script's dialogs can still be answered from its ".answers" file.
  answers=
  if [[ $needs == *display* ]] && ! have_display; then
    if [ -f "${script%.qzs}.answers" ]; then
      answers=${script%.qzs}.answers
      echo "   no display: the operator's answers come from ${answers#"$root"/}"
    else
      echo "   ${yellow}SKIPPED: no display available${off} (DISPLAY and WAYLAND_DISPLAY are empty);" \
        "its operator dialogs need a screen"
      notrun=$((notrun + 1))
      continue
    fi
  fi

  if [[ $params == *"{tmp}"* ]]; then
    mkdir -p "$work/$name.tmp"
    params=${params//\{tmp\}/$work/$name.tmp}
  fi
  out="$work/$name.out"
  start=$(date +%s%N)
  if [ "$raw" = 1 ]; then
    ZOV_PROMPTER_SCRIPT=$answers run_engine "$interface" "$script" "$params" "$reply" "$run_limit" | tee "$out"
  else
    ZOV_PROMPTER_SCRIPT=$answers run_engine "$interface" "$script" "$params" "$reply" "$run_limit" | tee "$out" \
      | while IFS= read -r l; do render "$l"; done
  fi
  status=${PIPESTATUS[0]}
  elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
  got=$(verdict_of "$out" "$status")

  problems=()
  [ "$got" = "$expect" ] || problems+=("verdict $got, expected $expect")
  for t in "${traces[@]}"; do
    grep -q -F -- "$t" < <(grep '^trc: ' "$out" | sed -E 's/^trc: [0-9]+://') \
      || problems+=("no trace holding \"$t\"")
  done
  case $got in
    hung) echo "   ${red}stopped after ${run_limit} s${off}" ;;
    silent) echo "   ${red}the engine did not reach execution${off}" ;;
    none) echo "   ended without a verdict" ;;
  esac
  if [ ${#problems[@]} -eq 0 ]; then
    echo "   ${green}PASS${off} $name: $got as expected ($elapsed ms)"
    passed=$((passed + 1))
  else
    for p in "${problems[@]}"; do echo "   ${red}FAIL${off} $name: $p"; done
    failures+=("$name")
    failed=$((failed + 1))
  fi
done

echo
summary="Summary: $passed passed, $failed failed, $notrun not run"
[ $failed -gt 0 ] && summary+=" (failed: ${failures[*]})"
echo "${bold}${summary}${off}"
[ $failed -gt 0 ] && exit 1
[ $passed -eq 0 ] && exit 77
exit 0
