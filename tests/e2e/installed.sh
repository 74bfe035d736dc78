#!/usr/bin/env bash
# The program as a user meets it once installed: installed with DESTDIR into a temporary /usr,
# started as an ordinary user (nobody, when the test runs as root) under its own X server on a
# table named on the command line, and quit through the menu. No error box may show; the
# settings land in the user's $XDG_CONFIG_HOME, whose tablor folder the close creates, and the
# next start reopens the table; the help file is found in the installed layout; --help and
# --version answer; the desktop entry, the metainfo and the MIME type pass their checks.
# Usage: installed.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
chmod 755 "$work"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
prefix="$work/root/usr"
chmod -R a-w "$prefix/bin" # as a system folder is, for the user

# An ordinary user: nobody when we are root, else ourselves.
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    run_as=(runuser -u nobody --)
    user=nobody
else
    user=$(id -un)
fi
home="$work/home"
mkdir -p "$home/run"
chmod 700 "$home/run"
[ "$(id -u)" -eq 0 ] && chown -R nobody "$home"
as_user() {
    "${run_as[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        XDG_RUNTIME_DIR="$home/run" LC_ALL=C.UTF-8 DISPLAY="${DISPLAY:-}" QT_QPA_PLATFORM=xcb "$@"
}

# 1. --help and --version: their text on standard output and status 0, with no display.
out=$(as_user "$prefix/bin/tablor" --version) || fail "--version exited with $?"
[ "$out" = "Tablor 1.0" ] || fail "--version printed: $out"
out=$(as_user "$prefix/bin/tablor" -h) || fail "-h exited with $?"
[[ "$out" == "Usage : tablor [FICHIER]"* ]] || fail "-h printed: $out"

# 2. The files the desktop reads.
desktop-file-validate "$prefix/share/applications/org.tablor.Tablor.desktop" ||
    fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/org.tablor.Tablor.metainfo.xml" \
    >/dev/null || fail "metainfo: $(appstreamcli validate --no-net \
        "$prefix/share/metainfo/org.tablor.Tablor.metainfo.xml")"
if command -v update-mime-database >/dev/null; then
    update-mime-database "$prefix/share/mime" >/dev/null 2>&1
    grep -q "application/x-tablor:\*\.tbr" "$prefix/share/mime/globs" || fail "MIME type"
fi
for size in 16 22 24 32 48 64 128 256; do
    identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x$size/apps/org.tablor.Tablor.png" |
        grep -qx "${size}x$size" || fail "icon at $size"
done

# 3. The program under its own X server, open to every user of this machine.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -ac -noreset >/dev/null 2>&1 &
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

. "$(dirname "$0")/x11_helpers.sh"
no_error_box() {
    if xdotool search --onlyvisible --name "^Tablor 1.0$" >/dev/null 2>&1; then
        fail "error box: $1"
    fi
}
quit_through_menu() { # window, pid
    keys "$1" alt+f q
    for _ in $(seq 1 50); do kill -0 "$2" 2>/dev/null || return 0; sleep 0.1; done
    no_error_box "at close"
    fail "the window did not close"
}

printf '1\r\n2\r\n0\r\n327\r\n450\r\n64\r\n8\r\n40\r\n1\r\nNom\r\nDupont\r\n' >"$work/t.tbr"
chmod 644 "$work/t.tbr"
as_user "$prefix/bin/tablor" "$work/t.tbr" &
pid=$!
w=$(wait_window "Tablor 1.0 - Fichier t \(1 enregistrement\)") || fail "table not opened"
no_error_box "at start"

# The help file, from the installed share/tablor: the viewer shows its title.
keys "$w" alt+a r
wait_window "^Aide de Tablor$" >/dev/null || fail "help file not found"
quit_through_menu "$w" $pid

ini="$home/.config/tablor/tablor.ini"
grep -q "Fichier=$work/t.tbr" "$ini" 2>/dev/null || fail "no settings in $ini"
[ "$(stat -c %U "$ini")" = "$user" ] || fail "settings not the user's own"
[ -e "$prefix/bin/tablor.ini" ] && fail "settings beside the installed program"

# 4. The next start remembers the table.
as_user "$prefix/bin/tablor" &
pid=$!
w=$(wait_window "Tablor 1.0 - Fichier t \(1 enregistrement\)") || fail "last table not reopened"
quit_through_menu "$w" $pid
echo "installed program: all checks passed"
