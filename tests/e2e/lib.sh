# Shared helpers for the end-to-end tests of the real binary. Each test gets its own X server
# (Xvfb) with a window manager, so the close button and minimising behave as on a desktop.
# Usage from a test: source lib.sh "$@"   (arguments: path to glorbit, build folder)
set -euo pipefail

GAME_BIN=$(readlink -f "$1")
BUILD_DIR=$(readlink -f "$2")
REPO_DIR=$(readlink -f "$(dirname "${BASH_SOURCE[0]}")/../..")
TEST_NAME=$(basename "$0" .sh)
WORK=$(mktemp -d "/tmp/glorbit-${TEST_NAME}.XXXX")
SHOTS="$BUILD_DIR/e2e-shots/$TEST_NAME"
mkdir -p "$SHOTS"
GAME_PID=""
XVFB_PID=""
WM_PID=""

cleanup() {
  [ -n "$GAME_PID" ] && kill "$GAME_PID" 2>/dev/null || true
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; [ -f "$WORK/out.txt" ] && { echo "--- game output ---"; head -c 4000 "$WORK/out.txt"; }; exit 1; }

start_display() {
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then break; fi
  done
  export DISPLAY=":$n"
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  WM_PID=$!
  sleep 0.5
}

# A run folder shaped like the build folder: res/ next to the working directory's ../assets.
# $1: settings.ini content, or "-" for no settings file at all.
make_run_dir() {
  mkdir -p "$WORK/run" "$WORK/assets"
  cp -r "$BUILD_DIR/res" "$WORK/run/res"
  local entry
  for entry in "$REPO_DIR"/assets/*; do
    [ "$(basename "$entry")" = settings.ini ] && continue
    ln -s "$entry" "$WORK/assets/$(basename "$entry")"
  done
  if [ "$1" != "-" ]; then printf '%s\n' "$1" >"$WORK/assets/settings.ini"; fi
}

start_game() {
  (cd "$WORK/run" && exec "$GAME_BIN" >"$WORK/out.txt" 2>"$WORK/err.txt") &
  GAME_PID=$!
}

# Waits until the game printed a line matching $1 (grep -E), at most $2 seconds.
wait_for_line() {
  local pattern=$1 limit=${2:-60} i
  for i in $(seq $((limit * 10))); do
    grep -qE "$pattern" "$WORK/out.txt" 2>/dev/null && return 0
    kill -0 "$GAME_PID" 2>/dev/null || { grep -qE "$pattern" "$WORK/out.txt" && return 0; fail "game exited before printing '$pattern'"; }
    sleep 0.1
  done
  fail "no line matching '$pattern' within ${limit}s"
}

game_window() {
  local id i
  for i in $(seq 100); do
    id=$(xdotool search --onlyvisible --name '^glorbit$' 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no game window"
}

focus_game() { xdotool windowactivate --sync "$(game_window)" >/dev/null 2>&1 || xdotool windowfocus "$(game_window)"; }

# Waits for the game to end, at most $1 seconds; leaves its exit status in EXIT_STATUS.
# Call it directly, not inside $(...): only this shell can collect its own child's status.
EXIT_STATUS=""
wait_exit() {
  local limit=${1:-30} i
  for i in $(seq $((limit * 10))); do
    if ! kill -0 "$GAME_PID" 2>/dev/null; then
      EXIT_STATUS=0
      wait "$GAME_PID" || EXIT_STATUS=$?
      GAME_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "game still running after ${limit}s"
}

# Escape to the game's window; the game must end with status 0.
quit_with_escape() {
  focus_game
  xdotool key Escape
  wait_exit 30
  [ "$EXIT_STATUS" = 0 ] || fail "Escape ended the game with status $EXIT_STATUS"
}

shot() { import -window root "$SHOTS/$1.png"; }

# The middle of the game window, where the follow camera keeps the creature: $1 name, $2 size.
creature_shot() {
  local size=${2:-160}
  import -window "$(game_window)" -gravity center -crop "${size}x${size}+0+0" +repage "$SHOTS/$1.png"
}

# Number of pixels that differ between two screenshots (by more than a small fuzz).
pixels_differ() { compare -metric AE -fuzz 3% "$SHOTS/$1.png" "$SHOTS/$2.png" null: 2>&1 | cut -d' ' -f1 || true; }

# Let the game run $1 seconds of frames.
run_for() { sleep "$1"; kill -0 "$GAME_PID" 2>/dev/null || fail "game died"; }
