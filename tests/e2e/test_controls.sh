#!/usr/bin/env bash
# The keys, the mouse and the window in the real binary: W rolls the creature, F1 wireframe,
# F3 and the mouse fly the free camera, F4/F5 switch clips, resize and minimise keep it running,
# and the window's close button ends it with status 0.
source "$(dirname "$0")/lib.sh" "$@"
start_display
make_run_dir "$(printf '[window]\nresizeable = true\n')"
start_game
wait_for_line '^INIT BLOOM: done' 90
focus_game
run_for 2
shot rest

# W held rolls the creature away from the camera (and the picture changes).
xdotool keydown w; sleep 3; xdotool keyup w
run_for 1
shot rolled
moved=$(pixels_differ rest rolled)
[ "${moved:-0}" -gt 2000 ] || fail "holding W changed only ${moved} pixels"

# F1 draws lines: the wireframe picture differs from the filled one.
xdotool key F1; run_for 1; shot wireframe
xdotool key F1; run_for 1; shot filled
lines=$(pixels_differ wireframe filled)
[ "${lines:-0}" -gt 2000 ] || fail "wireframe changed only ${lines} pixels"

# F4 and F5 announce the clip they switch to, and the creature's limbs move differently.
xdotool key F4
wait_for_line '^Changed Animation to Idle with duration [0-9.]+ vs\. [0-9.]+$' 10
run_for 1
creature_shot idle
xdotool key F5
run_for 1
creature_shot wave
[ "$(grep -c '^Changed Animation to Idle with duration ' "$WORK/out.txt")" -ge 2 ] || fail "F4/F5 lines"
limbs=$(pixels_differ idle wave)
[ "${limbs:-0}" -gt 50 ] || fail "the two clips look the same (${limbs} pixels differ)"

# F3: the free camera, moved by W and turned by the mouse.
xdotool key F3; run_for 1; shot free
xdotool keydown w; sleep 2; xdotool keyup w; run_for 1; shot flown
flown=$(pixels_differ free flown)
[ "${flown:-0}" -gt 2000 ] || fail "flying the free camera changed only ${flown} pixels"
xdotool mousemove_relative -- 200 0; sleep 0.3; xdotool mousemove_relative -- 200 80; run_for 1; shot turned
turned=$(pixels_differ flown turned)
[ "${turned:-0}" -gt 2000 ] || fail "turning the free camera changed only ${turned} pixels"
xdotool key F3

# Resize and minimise: the game keeps running.
win=$(game_window)
xdotool windowsize "$win" 800 500; run_for 2; shot resized
xdotool windowminimize "$win"; run_for 2
xdotool windowactivate "$win" 2>/dev/null || xdotool windowmap "$win"
run_for 2
shot restored

# The close button (the window manager's close request).
wmctrl -i -c "$win"
wait_exit 30; status=$EXIT_STATUS
[ "$status" = 0 ] || fail "close button ended with status $status"
echo "PASS"
