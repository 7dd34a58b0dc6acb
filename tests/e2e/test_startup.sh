#!/usr/bin/env bash
# Start-up lines, their order, and a clean exit on Escape; the settings file's edge cases.
source "$(dirname "$0")/lib.sh" "$@"
start_display

# No settings file: every default.
make_run_dir -
start_game
wait_for_line '^INIT BLOOM: done' 90
grep -qx 'Brightness: 1' "$WORK/out.txt" || fail "no 'Brightness: 1'"
grep -qE '^shader ID animShader: [1-9][0-9]*$' "$WORK/out.txt" || fail "no animShader id line"
grep -qx 'window_width: 1280, window_height: 768' "$WORK/out.txt" || fail "window size line"
order=$(grep -nE '^(Brightness: |shader ID animShader: |IN INIT BLOOM|window_width: |INIT BLOOM: done)' "$WORK/out.txt" | cut -d: -f2- | cut -c1-12 | tr '\n' '|')
[ "$order" = "Brightness: |shader ID an|window_width|IN INIT BLOO|INIT BLOOM: |" ] || fail "start-up order: $order"
geometry=$(xdotool getwindowgeometry "$(game_window)" | grep Geometry | awk '{print $2}')
[ "$geometry" = "1280x768" ] || fail "window geometry $geometry"
run_for 2
shot startup
quit_with_escape
rm -rf "$WORK/run" "$WORK/assets"

# A width of 0: the window cannot be created.
make_run_dir "$(printf '[window]\nwidth = 0\n')"
start_game
wait_exit 30; status=$EXIT_STATUS
[ "$status" = 255 ] || fail "width 0 ended with status $status"
grep -qx 'Failed to create window with GLFW' "$WORK/out.txt" || fail "no window failure line"
rm -rf "$WORK/run" "$WORK/assets"

# Brightness is an integer key; a missing vertex shader reports read, compile and link, then goes on.
make_run_dir "$(printf '[window]\nbrightness = 2.5\n')"
rm "$WORK/run/res/shader/vsemap.shader"
start_game
wait_for_line '^window_width: ' 90
grep -qx 'Brightness: 2' "$WORK/out.txt" || fail "brightness 2.5 should print 2"
read_line=$(grep -n -m1 -x 'Error while reading shader file.' "$WORK/out.txt" | cut -d: -f1)
compile_line=$(grep -n -m1 -x 'ERROR::SHADER::VERTEX/FRAGMENT::COMPILATION_FAILED' "$WORK/out.txt" | cut -d: -f1)
link_line=$(grep -n -m1 -x 'ERROR::SHADER::PROGRAM::LINKING_FAILED' "$WORK/out.txt" | cut -d: -f1)
[ -n "$read_line" ] && [ -n "$compile_line" ] && [ -n "$link_line" ] || fail "missing shader lines"
[ "$read_line" -lt "$compile_line" ] && [ "$compile_line" -lt "$link_line" ] || fail "shader lines out of order"
run_for 1
quit_with_escape
echo "PASS"
