#!/usr/bin/env bash
# `make run` on a machine without a display: the game plays under Xvfb, a screenshot of it is
# saved and named, Escape ends it with status 0.
source "$(dirname "$0")/lib.sh" "$@"

status=0
env -u DISPLAY -u WAYLAND_DISPLAY bash "$REPO_DIR/scripts/run.sh" "$BUILD_DIR" >"$WORK/run.txt" 2>&1 || status=$?
cat "$WORK/run.txt"
[ "$status" = 0 ] || fail "headless run ended with status $status"
[ "$(wc -l <"$WORK/run.txt")" = 1 ] || fail "expected one line"
png=$(grep -oE 'screenshot: [^ ]+\.png' "$WORK/run.txt" | cut -d' ' -f2)
[ -n "$png" ] && [ -f "$png" ] || fail "no screenshot named"
[ "$(identify -format '%wx%h' "$png")" = "1280x768" ] || fail "screenshot is not the default window size"
# A picture of the level, not an empty window: the sky, the floor and the star are far apart.
spread=$(convert "$png" -colorspace Gray -format '%[fx:int(1000*standard_deviation)]' info:)
[ "$spread" -gt 25 ] || fail "the screenshot is nearly uniform (spread $spread)"
log="$BUILD_DIR/screenshots/headless-run.log"
grep -qx 'window_width: 1280, window_height: 768' "$log" || fail "no start-up lines in $log"
echo "PASS"
