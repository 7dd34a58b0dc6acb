# Helpers for the tests of an installed game (sourced after lib.sh): the launcher started from a
# working directory that has nothing to do with the game, for a player whose home folder is a
# fresh temporary one.

# Where the launcher is below the installed tree's root: bin/ as `cmake --install` puts it,
# games/ in the Debian package.
LAUNCHER_DIR=${LAUNCHER_DIR:-bin}

# $1: the installed tree's root (the prefix, or the folder a .deb was unpacked into, plus /usr).
# The remaining arguments go to the launcher. GAME_PID is the launcher's, which returns the game's
# exit status (wait_exit) and passes a SIGTERM on to the game (cleanup).
start_launcher() {
    local prefix=$1
    shift
    rm -f "$WORK/out.txt" "$WORK/err.txt" # no lines from the start before
    (cd / && exec "$prefix/$LAUNCHER_DIR/glorbit" "$@" >"$WORK/out.txt" 2>"$WORK/err.txt") &
    GAME_PID=$!
}

# Starts the installed game, checks the start-up lines and quits it with Escape; fails unless the
# exit status is 0. $1: prefix; $2: the "Brightness: " value the settings should give.
play_and_quit() {
    local prefix=$1 brightness=$2
    start_launcher "$prefix"
    wait_for_line '^INIT BLOOM: done' 90
    grep -qx "Brightness: $brightness" "$WORK/out.txt" || fail "no 'Brightness: $brightness'"
    grep -qE '^shader ID animShader: [1-9][0-9]*$' "$WORK/out.txt" || fail "no animShader id line"
    grep -qx 'window_width: 1280, window_height: 768' "$WORK/out.txt" || fail "window size line"
    # Every shader, model and texture was found: none of the loaders complained.
    if grep -qE 'Error while reading shader file|COMPILATION_FAILED|LINKING_FAILED|failed to load|ERROR::ASSIMP| refused: ' \
        "$WORK/out.txt"; then
        fail "the installed game could not load its files"
    fi
    run_for 1
    quit_with_escape
}

# A stand-in notify-send first on PATH: each call appends its arguments, one a line, to
# $WORK/notified.
fake_notifier() {
    mkdir -p "$WORK/bin"
    cat >"$WORK/bin/notify-send" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >>"$WORK/notified"
EOF
    chmod +x "$WORK/bin/notify-send"
    export PATH="$WORK/bin:$PATH"
}

# The manual page $1 (gzipped) is lint-clean for groff and names every setting the game reads.
check_manual() {
    local page=$1 key text warnings keys
    [ -f "$page" ] || fail "no manual page $page"
    text=$(zcat "$page") || fail "$page is not gzipped"
    warnings=$(groff -ww -z -man 2>&1 <<<"$text") || fail "groff failed on $page"
    [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
    # Every key the settings reader asks for, each a tag of its own in the list of settings.
    keys=$(grep -oE '(reader, |"window", )"[a-z]+"' "$REPO_DIR/src/app/Settings.cpp" | grep -oE '[a-z]+"$' | tr -d '"' | sort -u)
    [ "$(wc -w <<<"$keys")" -ge 7 ] || fail "cannot find the settings keys in src/app/Settings.cpp"
    for key in $keys; do
        grep -qE "^\\.BR? (.*[ \"])?$key([ \"]|\$)" <<<"$text" || fail "the manual page does not describe the setting $key"
    done
}
