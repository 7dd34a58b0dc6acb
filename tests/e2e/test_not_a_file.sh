#!/usr/bin/env bash
# Files that are named pipes (FIFOs): opening one would block the game for good before its window
# appears. Each is named on a line with what it is, and the game goes on as for a missing file;
# the creature's model stops start-up as a missing one does.
source "$(dirname "$0")/lib.sh" "$@"
start_display

expect_line() { grep -qxF "$1" "$WORK/out.txt" || fail "no line: $1"; }
# Replaces the linked asset folder $1 with a copy in which the file $2 is a named pipe.
pipe_in() {
  rm "$WORK/assets/$1"
  cp -r "$REPO_DIR/assets/$1" "$WORK/assets/$1"
  rm "$WORK/assets/$1/$2"
  mkfifo "$WORK/assets/$1/$2"
}

make_run_dir -
mkfifo "$WORK/assets/settings.ini"
rm "$WORK/run/res/shader/vsemap.shader"
mkfifo "$WORK/run/res/shader/vsemap.shader"
pipe_in emap right.jpg
pipe_in enemy Stone_enemy2.png
start_game
wait_for_line '^INIT BLOOM: done' 60
expect_line 'Settings: ../assets/settings.ini is a named pipe (FIFO), not a file; using the defaults'
expect_line 'Error while reading shader file.'
grep -qE '^Shader source .*vsemap.shader is a named pipe \(FIFO\), not a file$' "$WORK/out.txt" || fail "shader not named"
expect_line 'Cubemap tex failed to load at path: ../assets/emap/right.jpg'
expect_line 'Sky face ../assets/emap/right.jpg is a named pipe (FIFO), not a file'
grep -qE '^Texture failed to load at path: .*Stone_enemy2.png$' "$WORK/out.txt" || fail "no texture failure line"
grep -qE '^Image .*enemy/Stone_enemy2.png is a named pipe \(FIFO\), not a file$' "$WORK/out.txt" || fail "texture not named"
quit_with_escape
rm -rf "$WORK/run" "$WORK/assets"

make_run_dir -
pipe_in zub zub.fbx
start_game
wait_exit 60
[ "$EXIT_STATUS" = 1 ] || fail "a creature that is a named pipe ended with status $EXIT_STATUS"
expect_line 'Animated model file ../assets/zub/zub.fbx refused: it is a named pipe (FIFO), not a file; start-up stops'
echo "PASS"
