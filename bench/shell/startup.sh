#!/usr/bin/env bash
# startup.sh <bin folder> [runs]: the IDE's start-up and ending, side by side with zovstartpeer (a
# bare Qt main window with a tabbed MDI area, 8 menus of 20 entries, two toolbars, two docks and
# a status bar). Both programs are started alike, turn by turn, after two warm-up runs each:
#   start-up  process start to the first painted frame of the main window. Both programs write
#             one line on stderr ("... first frame shown") after the paint pass of their first
#             frame when ZOV_IDE_REPORT_SHOWN is set; the driver waits for it in poll(), so the
#             moment is taken as it comes, without polling by the clock.
#   ending    SIGTERM sent just after that line to the process's exit (stderr closed, waitpid),
#             zov with no project (its temporary folder removed, its settings saved); the peer
#             closes its window through a self-pipe as zov does.
# zov runs from a private copy of its program folder (ZOV.ini: NoSplash=1), no project, a private
# TMPDIR, every prompt answered from an empty script; a third side runs it with a 2 000-entry
# language file chosen (what that adds to the start-up). Offscreen (QT_QPA_PLATFORM=offscreen)
# always; also under Xvfb when Xvfb is installed (its display taken through -displayfd).
# Prints medians of <runs> (10) and the ratios zov / peer in compare.sh's line format.
set -uo pipefail
bin=$(cd "$1" && pwd)
runs=${2:-10}
if [ ! -x "$bin/zov" ] || [ ! -x "$bin/zovstartpeer" ]; then
  echo "bench: shell-startup not measured yet (zov or zovstartpeer missing in $bin: no Qt 6)"
  exit 0
fi
work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/prog" "$work/tmp" "$work/cwd"
cp "$bin/zov" "$work/prog/zov"
printf '[Preferences]\nNoSplash=1\n' >"$work/prog/ZOV.ini"
# The same with a 2 000-entry language file chosen: what loading it and translating the menus adds.
mkdir -p "$work/prog-language"
cp "$bin/zov" "$work/prog-language/zov"
printf '[Preferences]\nNoSplash=1\nLanguage=english.lgn\n' >"$work/prog-language/ZOV.ini"
{
  printf '$LANGUAGE=English\r\n$HELP=ZOV.chm\r\n'
  for i in $(seq 1 2000); do printf 'Texte numéro %d de la fenêtre = Text number %d of the window\r\n' "$i" "$i"; done
} >"$work/prog-language/english.lgn"
: >"$work/prompts"

measure() { # <platform label> [display]
  python3 - "$1" "${2:-}" "$runs" "$work" "$bin/zovstartpeer" <<'PY'
import os, select, signal, statistics, subprocess, sys, time

label, display, runs, work, peer = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
env = dict(os.environ)
for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
    env.pop(name, None)
if display:
    env["DISPLAY"] = display
    env["QT_QPA_PLATFORM"] = "xcb"
else:
    env["QT_QPA_PLATFORM"] = "offscreen"
env["TMPDIR"] = os.path.join(work, "tmp")
env["ZOV_IDE_PROMPTER_SCRIPT"] = os.path.join(work, "prompts")
env["ZOV_IDE_PROMPTER_LOG"] = os.path.join(work, "prompts.log")
env["ZOV_IDE_REPORT_SHOWN"] = "1"
programs = {"zov": [os.path.join(work, "prog", "zov")], "peer": [peer],
            "zov-language": [os.path.join(work, "prog-language", "zov")]}


class Failed(Exception):
    pass


def temp_folders():
    found = []
    for base, dirs, _ in os.walk(env["TMPDIR"]):
        found += [d for d in dirs if d.startswith("ZOV_TMP")]
    return found


def once(argv):
    """(start-up, ending) in seconds for one run."""
    read_end, write_end = os.pipe()
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=write_end,
                             env=env, cwd=os.path.join(work, "cwd"))
    os.close(write_end)
    text = b""
    poller = select.poll()
    poller.register(read_end, select.POLLIN)
    try:
        while b"first frame shown\n" not in text:
            if not poller.poll(30000):
                child.kill()
                raise Failed(f"{argv[0]} showed nothing within 30 s")
            chunk = os.read(read_end, 65536)
            if not chunk:
                raise Failed(f"{argv[0]} ended before showing: {text.decode(errors='replace')[-300:]}")
            text += chunk
        shown = time.perf_counter()
        child.send_signal(signal.SIGTERM)
        while os.read(read_end, 65536):
            pass
        status = child.wait()
        ended = time.perf_counter()
    finally:
        os.close(read_end)
        if child.poll() is None:
            child.kill()
            child.wait()
    if status != 0:
        raise Failed(f"{argv[0]} ended with status {status} after SIGTERM")
    if temp_folders():
        raise Failed(f"{argv[0]} left its temporary folder behind")
    return shown - start, ended - shown


try:
    for _ in range(2):
        for argv in programs.values():
            once(argv)
    times = {name: ([], []) for name in programs}
    for _ in range(runs):
        for name, argv in programs.items():
            up, down = once(argv)
            times[name][0].append(up)
            times[name][1].append(down)
except Failed as failure:
    print(f"bench: shell-startup not measured yet ({label}: {failure})")
    sys.exit(0)

ms = {name: (statistics.median(t[0]) * 1000.0, statistics.median(t[1]) * 1000.0) for name, t in times.items()}
for what, i in (("start-up to first painted main window", 0), ("SIGTERM to exit, no project", 1)):
    z, p = ms["zov"][i], ms["peer"][i]
    print(f"shell {what}, {label}, median of {runs}: zov {z:.2f} ms, qt-mainwindow {p:.2f} ms, ratio {z / p:.2f}")
for name in programs:
    spread = " ".join(f"{t * 1000:.0f}" for t in sorted(times[name][0]))
    print(f"shell-startup: {label} {name} start-up runs (ms, sorted): {spread}")
verdict = "met" if ms["zov"][1] <= 200.0 else "missed"
print(f"shell-startup: {label} zov SIGTERM to exit {ms['zov'][1]:.1f} ms (target <= 200 ms: {verdict})")
added = ms["zov-language"][0] - ms["zov"][0]
verdict = "met" if added <= 30.0 else "missed"
print(f"shell-startup: {label} a 2 000-entry language file adds {added:.1f} ms to the start-up (target <= +30 ms: {verdict})")
if display:
    verdict = "met" if ms["zov"][0] <= 300.0 else "missed"
    print(f"shell-startup: {label} zov start-up {ms['zov'][0]:.1f} ms (target <= 300 ms: {verdict})")
PY
}

measure offscreen
if command -v Xvfb >/dev/null; then
  # Xvfb writes its display number on the descriptor once it accepts clients.
  exec {numbers}< <(exec Xvfb -displayfd 1 -nolisten tcp -screen 0 1920x1080x24 2>/dev/null)
  xvfb_pid=$!
  if read -r -t 30 number <&"$numbers"; then
    measure Xvfb ":$number"
  else
    echo "bench: shell-startup not measured yet (Xvfb did not start)"
  fi
  exec {numbers}<&-
fi
