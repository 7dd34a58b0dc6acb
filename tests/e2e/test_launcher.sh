#!/usr/bin/env bash
# The installed launcher as the desktop's menu starts it: no terminal (its output goes to a file)
# and a stand-in notify-send on PATH. The console log and its rotation, the notifications for a won,
# a lost and a failed game, a SIGTERM passed on to the game, and one software start after a driver
# refused the window (tests/e2e/standin), but never more than one.
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/launcher.sh"

driver=${GLORBIT_OLD_DRIVER:-$BUILD_DIR/tests/e2e/standin/libglorbit_old_driver.so}
[ -f "$driver" ] || fail "no $driver: build the glorbit_old_driver target"
prefix="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.txt" 2>&1 || { cat "$WORK/install.txt"; fail "cmake --install"; }
export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME LIBGL_ALWAYS_SOFTWARE
mkdir -p "$HOME"
fake_notifier
log="$HOME/.local/state/glorbit/last-run.log"
won="oh wow seems like u r a good boi and saved all glorbits"
lost="ups u got eaten"

# Won and lost, by a stand-in game in a copy of the installed tree: it prints as the game does at
# the end and exits 0. Its output passes through unchanged, the log keeps it, the run before is
# kept as last-run.1.log, and the notification carries the game's line.
fake="$WORK/fake"
mkdir -p "$fake/bin" "$fake/lib/glorbit"
cp "$prefix/bin/glorbit" "$fake/bin/"
ln -s "$prefix/share" "$fake/share"
for end in "$won" "$lost"; do
    printf '#!/bin/sh\necho "INIT BLOOM: done"\necho "%s"\necho "close window and try again"\n' "$end" \
        >"$fake/lib/glorbit/glorbit"
    chmod +x "$fake/lib/glorbit/glorbit"
    rm -f "$WORK/notified"
    start_launcher "$fake"
    wait_exit 30
    [ "$EXIT_STATUS" = 0 ] || fail "status $EXIT_STATUS for a game that ended with 0"
    [ "$(sed -n 2p "$WORK/out.txt")" = "$end" ] || fail "the game's output did not pass through"
    cmp -s "$WORK/out.txt" "$log" || fail "the log differs from the game's output"
    [ "$(cat "$WORK/notified")" = "$(printf -- '-i\norg.glorbit.glorbit\n-a\nglorbit\nglorbit\n%s' "$end")" ] ||
        fail "notified: $(cat "$WORK/notified")"
done
grep -qxF "$won" "${log%.log}.1.log" || fail "the won game's log was not kept as last-run.1.log"

# Two first starts at once, twenty times over: each game runs on the player's own settings file,
# and neither launcher warns.
printf '#!/bin/sh\nreadlink -f ../assets/settings.ini\n' >"$fake/lib/glorbit/glorbit"
mkfifo "$WORK/go"
for i in $(seq 20); do
    mkdir -p "$WORK/race$i"
    # Both wait at the pipe and are let go together.
    for side in a b; do
        HOME="$WORK/race$i" sh -c 'read -r _ <"$1"; exec "$2"' - "$WORK/go" "$fake/bin/glorbit" \
            >"$WORK/race-$side.txt" 2>&1 &
    done
    sleep 0.05
    echo go >"$WORK/go"
    wait || fail "a racing launcher failed"
    own=$(readlink -f "$WORK/race$i/.config/glorbit/settings.ini")
    [ "$(cat "$WORK/race-a.txt")" = "$own" ] && [ "$(cat "$WORK/race-b.txt")" = "$own" ] ||
        fail "round $i: $(cat "$WORK/race-a.txt" "$WORK/race-b.txt")"
done
# From a terminal nobody is notified.
rm -f "$WORK/notified"
script -qec "$fake/bin/glorbit" /dev/null >/dev/null
[ ! -e "$WORK/notified" ] || fail "notified from a terminal"

# A driver that refuses the window: the real game is started once more in software, and plays.
start_display
export LD_PRELOAD=$driver
play_and_quit "$prefix" 1
unset LD_PRELOAD
grep -q 'LIBGL_ALWAYS_SOFTWARE=1' "$WORK/err.txt" || fail "no line about the software start"
[ "$(grep -cx 'Failed to create window with GLFW' "$log")" = 1 ] || fail "not exactly one refused start"
[ ! -e "$WORK/notified" ] || fail "notified after Escape"

# SIGTERM to the launcher ends the game; what it printed is in the log already while it runs.
start_launcher "$prefix"
wait_for_line '^INIT BLOOM: done' 90
grep -qx 'INIT BLOOM: done' "$log" || fail "the log lags behind the game"
game=$(pgrep -P "$GAME_PID" -x glorbit) || fail "no game below the launcher"
kill "$GAME_PID"
wait_exit 30
[ "$EXIT_STATUS" = 143 ] || fail "status $EXIT_STATUS after SIGTERM"
! kill -0 "$game" 2>/dev/null || fail "the game outlived the launcher"

# No window at any driver: two starts, status 255, and a notification saying why.
printf '[window]\nwidth = 0\n' >"$HOME/.config/glorbit/settings.ini"
export XDG_STATE_HOME="$WORK/state"
log="$XDG_STATE_HOME/glorbit/last-run.log"
start_launcher "$prefix"
wait_exit 30
[ "$EXIT_STATUS" = 255 ] || fail "the launcher turned status 255 into $EXIT_STATUS"
[ "$(grep -cx 'Failed to create window with GLFW' "$log")" = 2 ] || fail "not two starts"
grep -q 'width = 0' "$WORK/notified" && grep -q 'LIBGL_ALWAYS_SOFTWARE=1' "$WORK/notified" ||
    fail "the notification does not say why: $(cat "$WORK/notified")"
# Software asked for already: no second start.
LIBGL_ALWAYS_SOFTWARE=1 start_launcher "$prefix"
wait_exit 30
[ "$EXIT_STATUS" = 255 ] && [ "$(grep -cx 'Failed to create window with GLFW' "$log")" = 1 ] ||
    fail "status $EXIT_STATUS, a second start with software asked for"
echo "PASS"
