#!/usr/bin/env bash
# The real game with a virtual pad (a preloaded stand-in for GLFW's joystick calls that plays a
# script frame by frame, see pad/VirtualPad.c): the pad is named, the left stick rolls the creature
# as W does, an idle pad leaves it be, the right stick turns the camera, Y switches to the free
# camera and Back held quits with status 0.
source "$(dirname "$0")/lib.sh" "$@"
PAD_LIB="$BUILD_DIR/tests/e2e/pad/libglorbit_virtual_pad.so"
[ -f "$PAD_LIB" ] || fail "no virtual pad library at $PAD_LIB"

start_display
make_run_dir $'[window]\nwidth = 320\nheight = 192\nrenderscale = 1'

# $1: name; stdin: the script (frame, left x y, right x y, buttons, keys). Runs until the script
# freezes the game at frame 150, then takes the window's picture.
play_script() {
    local script="$WORK/$1.pad"
    cat >"$script"
    echo "150 freeze" >>"$script"
    rm -f "$script.frozen"
    LD_PRELOAD="$PAD_LIB" GLORBIT_VIRTUAL_PAD="$script" start_game
    local i
    for i in $(seq 600); do [ -f "$script.frozen" ] && break; kill -0 "$GAME_PID" 2>/dev/null || fail "$1: game died"; sleep 0.1; done
    [ -f "$script.frozen" ] || fail "$1: the game never reached frame 150"
    grep -qx 'Gamepad connected: Virtual Test Pad' "$WORK/out.txt" || fail "$1: the pad is not named"
    sleep 0.3
    import -window "$(game_window)" "$SHOTS/$1.png"
    kill "$GAME_PID"; wait "$GAME_PID" 2>/dev/null || true; GAME_PID=""
}

printf '0 0 0 0 0 - w\n90 0 0 0 0 - -\n' | play_script keys
printf '0 0 -1 0 0 - -\n90 0 0 0 0 - -\n' | play_script stick
printf '0 0.05 -0.05 0 0 - -\n' | play_script idle
printf '0 0 0 1 0 - -\n' | play_script turn
printf '0 0 0 0 0 - -\n30 0 0 0 0 3 -\n32 0 0 0 0 - -\n' | play_script switch

# The same frames with W or with the stick give the same picture, bar the creature's own pose
# (its animation runs on the wall clock); rolling, turning and switching each change most of it.
same=$(pixels_differ keys stick)
moved=$(pixels_differ keys idle)
echo "pixels that differ: W/stick $same, W/idle $moved, turn/idle $(pixels_differ turn idle), switch/idle $(pixels_differ switch idle)"
[ "$moved" -gt 20000 ] || fail "W did not roll the creature ($moved pixels changed)"
[ $((same * 5)) -lt "$moved" ] || fail "the stick did not roll the creature as W did ($same against $moved)"
[ "$(pixels_differ turn idle)" -gt 20000 ] || fail "the right stick did not turn the camera"
[ "$(pixels_differ switch idle)" -gt 20000 ] || fail "Y did not switch to the free camera"

# Back held for a second quits; the game ends as after Escape.
printf '0 0 0 0 0 - -\n30 0 0 0 0 6 -\n' >"$WORK/quit.pad"
LD_PRELOAD="$PAD_LIB" GLORBIT_VIRTUAL_PAD="$WORK/quit.pad" start_game
wait_exit 60
[ "$EXIT_STATUS" = 0 ] || fail "Back held ended the game with status $EXIT_STATUS"
echo "PASS"
