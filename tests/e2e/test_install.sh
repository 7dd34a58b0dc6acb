#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the layout, the desktop files (validated as the
# desktop does), the manual page, and the launcher started from / for a fresh player: the
# per-user settings file is seeded, read, and the game's exit status comes through the launcher.
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/launcher.sh"

prefix="$WORK/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK/install.txt" 2>&1 || { cat "$WORK/install.txt"; fail "cmake --install"; }

for f in bin/glorbit lib/glorbit/glorbit share/glorbit/game/res/shader/anim.vert \
    share/glorbit/assets/settings.ini share/glorbit/assets/zub/zub.fbx share/glorbit/assets/emap/top.jpg; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/glorbit" ] && [ -x "$prefix/lib/glorbit/glorbit" ] || fail "not executable"
cmp -s "$prefix/share/glorbit/assets/settings.ini" "$REPO_DIR/assets/settings.ini" || fail "installed settings differ"

# Desktop entry, metainfo and icon, as a desktop and a software centre read them.
desktop="$prefix/share/applications/org.glorbit.glorbit.desktop"
metainfo="$prefix/share/metainfo/org.glorbit.glorbit.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$metainfo" >"$WORK/appstream.txt" 2>&1 || { cat "$WORK/appstream.txt"; fail "appstreamcli validate"; }
grep -qx 'Exec=glorbit' "$desktop" || fail "desktop entry does not start the launcher"
grep -qx 'Terminal=false' "$desktop" || fail "desktop entry opens a terminal"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 64 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    [ -f "$png" ] || fail "no ${size}px icon named $icon"
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "$png is not ${size}x${size}"
done
for control in 'W, A, S, D' Escape F1 F3 mouse; do
    grep -q "$control" "$metainfo" || fail "metainfo does not describe '$control'"
done
grep -q '<screenshot type="default">' "$metainfo" || fail "metainfo has no screenshot"
grep -qx '  <project_license>Zlib</project_license>' "$metainfo" || fail "metainfo names no licence"

# The manual page and the licence, in the folders GNUInstallDirs gives.
check_manual "$prefix/share/man/man6/glorbit.6.gz"
cmp -s "$prefix/share/doc/glorbit/copyright" "$REPO_DIR/packaging/copyright" || fail "no copyright file"

# A fresh player: no config folder yet. The launcher seeds it and the game reads it.
start_display
export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME"
play_and_quit "$prefix" 1
user_settings="$HOME/.config/glorbit/settings.ini"
cmp -s "$user_settings" "$prefix/share/glorbit/assets/settings.ini" || fail "settings not seeded from the defaults"

# The player's own settings win and the installed defaults stay as they were.
printf '[window]\nbrightness = 3\n' >"$user_settings"
play_and_quit "$prefix" 3
cmp -s "$prefix/share/glorbit/assets/settings.ini" "$REPO_DIR/assets/settings.ini" || fail "the installed defaults changed"

# XDG_CONFIG_HOME moves the settings (test_launcher.sh follows a game that fails to start).
export XDG_CONFIG_HOME="$WORK/elsewhere"
play_and_quit "$prefix" 1
[ -f "$XDG_CONFIG_HOME/glorbit/settings.ini" ] || fail "XDG_CONFIG_HOME not used"
echo "PASS"
