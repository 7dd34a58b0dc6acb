#!/usr/bin/env bash
# `cpack -G DEB` from the build folder: the package's contents and Depends, then the package
# unpacked (dpkg-deb -x) into a temporary root and its launcher started from another folder.
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/launcher.sh"

cpack -G DEB --config "$BUILD_DIR/CPackConfig.cmake" -B "$WORK/pkg" >"$WORK/cpack.txt" 2>&1 ||
    { cat "$WORK/cpack.txt"; fail "cpack"; }
deb=$(ls "$WORK"/pkg/glorbit_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "no .deb made"

# Depends come from the libraries the game is linked against (dpkg-shlibdeps).
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libglfw3 libglew libassimp libbullet libinireader libgl1 libstdc++6 libc6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib"
done

# notify-send tells a player who started from the menu how the game ended.
dpkg-deb -f "$deb" Recommends | grep -q libnotify-bin || fail "libnotify-bin is not recommended"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/bin/glorbit ./usr/lib/glorbit/glorbit ./usr/share/glorbit/game/res/shader/anim.vert \
    ./usr/share/glorbit/assets/settings.ini ./usr/share/glorbit/assets/zub/zub.fbx \
    ./usr/share/applications/org.glorbit.glorbit.desktop ./usr/share/metainfo/org.glorbit.glorbit.metainfo.xml \
    ./usr/share/icons/hicolor/256x256/apps/org.glorbit.glorbit.png; do
    grep -qx "$f" <<<"$contents" || fail "the package lacks $f"
done

root="$WORK/root"
dpkg-deb -x "$deb" "$root"
start_display
export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME"
play_and_quit "$root/usr" 1
[ -f "$HOME/.config/glorbit/settings.ini" ] || fail "no per-user settings"
echo "PASS"
