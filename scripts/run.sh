#!/usr/bin/env bash
# `make run`: starts the game from the build's run folder. With a display it simply plays. Without
# one (a server, a container, CI) it starts the game under Xvfb at its own window size, rolls the
# creature forward for a few seconds, saves a screenshot, quits with Escape and passes the game's
# exit status on; the game's console lines go to a log next to the screenshot.
# Usage: scripts/run.sh <build-folder>
set -euo pipefail

build=$(readlink -f "${1:-build}")
game="$build/glorbit"
rundir="$build/runtree/game"
[ -x "$game" ] || { echo "run.sh: no game at $game (build it first)"; exit 1; }
[ -d "$rundir" ] || { echo "run.sh: no run folder at $rundir (configure with cmake first)"; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
    cd "$rundir"
    exec "$game"
fi

shots="$build/screenshots"
mkdir -p "$shots"
png="$shots/headless-run.png"
log="$shots/headless-run.log"
rm -f "$png"

xvfb_pid="" wm_pid="" game_pid=""
cleanup() {
    [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

fail() {
    echo "run.sh: $*; game log: $log"
    tail -n 20 "$log" 2>/dev/null || true
    exit 1
}

# A free display number; the screen is larger than any window the default settings ask for.
for n in $(seq 99 160); do
    [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ] && break
done
export DISPLAY=":$n"
Xvfb "$DISPLAY" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start on $DISPLAY"
# A window manager, so the game window takes the keyboard focus as on a desktop.
if command -v openbox >/dev/null; then
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    sleep 0.5
fi

(cd "$rundir" && exec "$game" >"$log" 2>&1) &
game_pid=$!

alive() { kill -0 "$game_pid" 2>/dev/null; }
for _ in $(seq 900); do
    grep -q '^INIT BLOOM: done' "$log" 2>/dev/null && break
    alive || fail "the game ended during start-up"
    sleep 0.1
done
grep -q '^INIT BLOOM: done' "$log" || fail "the game did not finish starting within 90 s"

window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$game_pid" 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "no game window"
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window"

# About ten seconds of play: a moment at rest, W held so the creature rolls, then it settles.
sleep 3
xdotool keydown w
sleep 3
xdotool keyup w
sleep 4
alive || fail "the game ended while playing"
import -window "$window" "$png" || fail "could not take the screenshot"

xdotool key --window "$window" Escape
status=""
for _ in $(seq 300); do
    if ! alive; then
        status=0
        wait "$game_pid" || status=$?
        game_pid=""
        break
    fi
    sleep 0.1
done
[ -n "$status" ] || fail "the game did not quit on Escape"
echo "No display: played 10 s under Xvfb; screenshot: $png (game log: $log, exit status $status)"
exit "$status"
