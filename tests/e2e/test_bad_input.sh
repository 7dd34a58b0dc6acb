#!/usr/bin/env bash
# Hostile settings and files: every case ends with a line naming the setting or the file, and the
# game either stops with its documented status or goes on; none crashes, aborts or hangs.
source "$(dirname "$0")/lib.sh" "$@"
start_display

expect_line() { grep -qxF "$1" "$WORK/out.txt" || fail "no line: $1"; }

# Replaces the symlinked model folder $1 (zub or enemy) with a copy the test may change.
own_model_dir() {
  rm "$WORK/assets/$1"
  cp -r "$REPO_DIR/assets/$1" "$WORK/assets/$1"
}

# Window sizes GLFW cannot take (it would assert and abort) or the GL cannot back with
# framebuffers: the window line, a line naming the two settings, and status 255.
for setting in "height = -5" "width = 99999999999999999999" "width = 100000" "width = 20000"; do
  make_run_dir "$(printf '[window]\n%s\n' "$setting")"
  start_game
  wait_exit 60; status=$EXIT_STATUS
  [ "$status" = 255 ] || fail "'$setting' ended with status $status"
  expect_line 'Failed to create window with GLFW'
  grep -q 'width.*height' "$WORK/out.txt" || fail "'$setting': no line naming the size"
  rm -rf "$WORK/run" "$WORK/assets"
done

# A shader path that is a folder, a default texture whose header claims 16000x16000 pixels, and a
# sky face of another size than the other five: each named, and the game still starts quickly.
make_run_dir -
rm "$WORK/run/res/shader/vsemap.shader"
mkdir "$WORK/run/res/shader/vsemap.shader"
rm "$WORK/assets/default_tex.png"
printf '\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x3e\x80\x00\x00\x3e\x80\x08\x02\x00\x00\x00\x00\x00\x00\x00' \
  >"$WORK/assets/default_tex.png"
rm "$WORK/assets/emap"
cp -r "$REPO_DIR/assets/emap" "$WORK/assets/emap"
convert -size 64x64 xc:steelblue "$WORK/assets/emap/right.jpg"
start_game
wait_for_line '^window_width: ' 60
expect_line 'Error while reading shader file.'
expect_line 'Texture failed to load at path: ../assets/default_tex.png'
expect_line 'Cubemap tex failed to load at path: ../assets/emap/right.jpg'
# Each also gets a line of its own saying what is wrong with it.
[ "$(grep -c 'default_tex\.png' "$WORK/out.txt")" -ge 2 ] || fail "no line on the default texture's size"
[ "$(grep -c 'emap/right\.jpg' "$WORK/out.txt")" -ge 2 ] || fail "no line on the sky face's size"
[ "$(grep -c '^Cubemap tex failed' "$WORK/out.txt")" = 1 ] || fail "faces of the right size were named"
quit_with_escape
rm -rf "$WORK/run" "$WORK/assets"

# A cut-off enemy file: the importer's line, then one naming the file; the game goes on to the
# creature, whose skin weight points past its mesh (Assimp's own check would abort): start-up
# stops with status 1 and a line naming the file.
make_run_dir -
own_model_dir enemy
own_model_dir zub
head -c 100000 "$REPO_DIR/assets/enemy/Stone_enemy2.fbx" >"$WORK/assets/enemy/Stone_enemy2.fbx"
awk 'found == 1 && /a: / { sub(/a: [0-9]+/, "a: 999999"); found = 2 } /Indexes: \*/ && !found { found = 1 } { print }' \
  "$REPO_DIR/assets/zub/zub.fbx" >"$WORK/assets/zub/zub.fbx"
start_game
wait_exit 90; status=$EXIT_STATUS
[ "$status" = 1 ] || fail "the refused creature ended with status $status"
grep -q '^ERROR::ASSIMP::' "$WORK/out.txt" || fail "no importer line"
grep -q '^[^E].*enemy/Stone_enemy2\.fbx' "$WORK/out.txt" || fail "no line naming the enemy file"
grep -q '^[^E].*zub/zub\.fbx' "$WORK/out.txt" || fail "no line naming the creature file"
rm -rf "$WORK/run" "$WORK/assets"

# Two joints of one name: the importer shares a bone between them and would free it twice.
make_run_dir -
own_model_dir zub
sed -i 's/"Model::Ear_L_Tip"/"Model::Ear_L"/' "$WORK/assets/zub/zub.fbx"
start_game
wait_exit 90; status=$EXIT_STATUS
[ "$status" = 1 ] || fail "the creature with twin joints ended with status $status"
grep -q '^[^E].*zub/zub\.fbx' "$WORK/out.txt" || fail "no line naming the creature file"
grep -qiE 'double free|corrupt|Aborted' "$WORK/err.txt" && fail "the heap broke: $(head -c 300 "$WORK/err.txt")"
echo "PASS"
