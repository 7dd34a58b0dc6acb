#!/usr/bin/env bash
# The Debian packages as `make deb` builds them (packaging/build-deb.sh, in the build folder's deb/):
# their relations, Debian's folders for games, lintian, the manual page, and the game started as
# /usr/games/glorbit from the packages unpacked (dpkg-deb -x) into a temporary root, from / for a
# fresh player.
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/launcher.sh"

# The package build reuses the compiler launcher (ccache) of the build folder under test.
args=()
for lang in C CXX; do
    launcher=$(sed -n "s/^CMAKE_${lang}_COMPILER_LAUNCHER:[A-Z]*=//p" "$BUILD_DIR/CMakeCache.txt")
    [ -z "$launcher" ] || args+=("-DCMAKE_${lang}_COMPILER_LAUNCHER=$launcher")
done
bash "$REPO_DIR/packaging/build-deb.sh" "$BUILD_DIR/deb" "${args[@]}" >"$WORK/build-deb.txt" 2>&1 ||
    { cat "$WORK/build-deb.txt"; fail "packaging/build-deb.sh"; }
game=$(ls "$BUILD_DIR"/deb/glorbit_*.deb)
data=$(ls "$BUILD_DIR"/deb/glorbit-data_*_all.deb)

# The game's Depends: what it is linked against (dpkg-shlibdeps) and its data of the same version.
depends=$(dpkg-deb -f "$game" Depends)
echo "Depends: $depends"
for lib in libglfw3 libglew libassimp libbullet libinireader libgl1 libstdc++6 libc6; do
    grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib"
done
grep -qF "glorbit-data (= $(dpkg-deb -f "$game" Version))" <<<"$depends" || fail "glorbit does not depend on its data"
[ "$(dpkg-deb -f "$data" Version)" = "$(dpkg-deb -f "$game" Version)" ] || fail "the two packages' versions differ"
# notify-send tells a player who started from the menu how the game ended.
dpkg-deb -f "$game" Recommends | grep -q libnotify-bin || fail "libnotify-bin is not recommended"

game_files=$(dpkg-deb -c "$game" | awk '{print $NF}')
data_files=$(dpkg-deb -c "$data" | awk '{print $NF}')
for f in ./usr/games/glorbit ./usr/lib/games/glorbit/glorbit ./usr/share/man/man6/glorbit.6.gz \
    ./usr/share/doc/glorbit/copyright ./usr/share/doc/glorbit/changelog.gz \
    ./usr/share/applications/org.glorbit.glorbit.desktop ./usr/share/metainfo/org.glorbit.glorbit.metainfo.xml \
    ./usr/share/icons/hicolor/256x256/apps/org.glorbit.glorbit.png; do
    grep -qx "$f" <<<"$game_files" || fail "glorbit lacks $f"
done
for f in ./usr/share/games/glorbit/game/res/shader/anim.vert ./usr/share/games/glorbit/assets/settings.ini \
    ./usr/share/games/glorbit/assets/zub/zub.fbx ./usr/share/doc/glorbit-data/copyright; do
    grep -qx "$f" <<<"$data_files" || fail "glorbit-data lacks $f"
done
! grep -q '^\./usr/share/games/' <<<"$game_files" || fail "the game package carries data"
! grep -q '^\./usr/bin/' <<<"$game_files"$'\n'"$data_files" || fail "something is in /usr/bin"

# Lintian at its most particular: nothing but what the packages override, each with its reason.
command -v lintian >/dev/null || fail "no lintian (scripts/install-deps.sh installs it)"
lintian -I --pedantic --fail-on error,warning,info,pedantic "$game" "$data" >"$WORK/lintian.txt" 2>&1 ||
    { cat "$WORK/lintian.txt"; fail "lintian"; }

root="$WORK/root"
dpkg-deb -x "$game" "$root"
dpkg-deb -x "$data" "$root"
check_manual "$root/usr/share/man/man6/glorbit.6.gz"
zcat "$root/usr/share/man/man6/glorbit.6.gz" | grep -q ' /usr/share/games/glorbit/' ||
    fail "the manual page does not name the package's data folder"

start_display
export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_STATE_HOME
mkdir -p "$HOME"
LAUNCHER_DIR=games play_and_quit "$root/usr" 1
[ -f "$HOME/.config/glorbit/settings.ini" ] || fail "no per-user settings"
[ -s "$HOME/.local/state/glorbit/last-run.log" ] || fail "no log of the game's console"
echo "PASS"
