#!/usr/bin/env bash
# The real program in a real X window (Xvfb) under a real window manager (openbox), driven with
# xdotool: a table written elsewhere (line feeds alone, text after a number, accented bytes) is
# opened from the command line, a field renamed and a cell edited with characters Windows-1252
# lacks among those typed, sorted, saved through the menu and must come back byte for byte as
# the writer writes it; closing writes the settings beside the executable and the next start
# reopens the table, maximised when the settings say so; the help opens and Escape closes it;
# "not found" shows above the search dialog and gives the focus back to it; a damaged table
# or a pipe gives the error box and leaves a usable window; a modified table asks before closing;
# another program pastes a big table as it was when copied.
# Usage: real_window.sh BIN_DIR (run under xvfb-run).
# The X server must run with -noreset: the program starts and quits several times, and a server
# that resets when its last client leaves can refuse the next one for a moment.
set -euo pipefail
bin_dir=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
# The program looks for its settings, help file and viewer beside itself: give it a folder.
cp "$bin_dir/tablor" "$work/"
cp "$bin_dir"/libhhctrl.so "$bin_dir"/tablor-chm "$bin_dir"/Tablor.chm "$work/" 2>/dev/null || true
export LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=xcb # a real window, whatever the other tests use
# Stacking, focus and maximising are the window manager's.
openbox >/dev/null 2>&1 &
for _ in $(seq 1 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
# xdotool types a character the keyboard map lacks by remapping a key for a moment, and a program
# under load can read that key before the new map: give the characters typed below keys of
# their own before the program starts.
spare=($(xmodmap -pke | awk '$NF == "=" { print $2 }' | sed -n '2,4p'))
xmodmap -e "keycode ${spare[0]} = eacute Eacute" -e "keycode ${spare[1]} = Lstroke lstroke" \
    -e "keycode ${spare[2]} = rightarrow"

fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/x11_helpers.sh"
same_bytes() { # file, expected od dump: waits up to 10 s for the program to write it
    for _ in $(seq 1 100); do
        [ "$(od -An -tx1 "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    return 1
}

printf '2\n3\n0 puis du texte\n327\n450\n64\n8\n40\n1\n80\n8\n88\n1\nNom\nVille\nMartin\nLyon\nZo\xe9\n\xc9vry\n' >"$work/t.tbr"

# 1. Open, rename field 2 and edit record 2's name, typing characters Windows-1252 lacks
# among the others: they are refused, so what was shown is what is saved. Save through the menu.
"$work/tablor" "$work/t.tbr" &
pid=$!
w=$(wait_window "Tablor 1.0 - Fichier t \(2 enregistrements\)") || fail "no main window"
# A right click on field 2's name (the first field is 64 pixels wide), going down from the
# menu bar until the header answers with the field-name prompt.
prompt_window() { xdotool search --onlyvisible --name "^Tablor$" 2>/dev/null | head -n 1; }
prompt=""
for y in $(seq 30 4 100); do
    xdotool mousemove --window "$w" 90 "$y" click 3
    sleep 0.3
    prompt=$(prompt_window) || true
    [ -n "$prompt" ] && break
done
[ -n "$prompt" ] || fail "no field-name prompt"
xdotool windowfocus --sync "$prompt"
xdotool type --delay 60 "VŁil→le"
keys "$prompt" Return
keys "$w" Down
xdotool type --delay 60 "LéŁa→"
keys "$w" Return alt+f e
expected=$(printf '2\r\n3\r\n0\r\n327\r\n450\r\n64\r\n8\r\n40\r\n1\r\n80\r\n8\r\n88\r\n1\r\nNom\r\nVille\r\nMartin\r\nLyon\r\nL\xe9a\r\n\xc9vry\r\n' | od -An -tx1)
same_bytes "$work/t.tbr" "$expected" || fail "saved bytes differ: $(od -An -tx1 "$work/t.tbr")"

# 1b. Sort on the first field through the menu and its dialog, save again: Léa comes first.
keys "$w" alt+t t
d=$(wait_window "Opération de tri") || fail "no sort dialog"
keys "$d" Return
keys "$w" alt+f e
expected=$(printf '2\r\n3\r\n0\r\n327\r\n450\r\n64\r\n8\r\n40\r\n1\r\n80\r\n8\r\n88\r\n1\r\nNom\r\nVille\r\nL\xe9a\r\n\xc9vry\r\nMartin\r\nLyon\r\n' | od -An -tx1)
same_bytes "$work/t.tbr" "$expected" || fail "sorted table saved wrong: $(od -An -tx1 "$work/t.tbr")"

# 2. Quit through the menu: no question (saved), settings written beside the executable.
keys "$w" alt+f q
for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "the window did not close"
grep -q "Fichier=$work/t.tbr" "$work/tablor.ini" 2>/dev/null || fail "settings file lacks the last table"

# 3. The next start reopens the last table, maximised as the settings say.
LC_ALL=C sed -i 's/^Maxi=0/Maxi=1/' "$work/tablor.ini"
"$work/tablor" &
pid=$!
w=$(wait_window "Tablor 1.0 - Fichier t \(2 enregistrements\)") || fail "last table not reopened"
maximised() { xprop -id "$w" _NET_WM_STATE | grep -q "MAXIMIZED_VERT.*MAXIMIZED_HORZ\|MAXIMIZED_HORZ.*MAXIMIZED_VERT"; }
for _ in $(seq 1 30); do maximised && break; sleep 0.1; done
maximised || fail "Maxi=1 did not maximise: $(xprop -id "$w" _NET_WM_STATE)"

# 3b. The help opens on its contents, read by its own reader program; Escape closes it.
keys "$w" alt+a r
h=$(wait_window "^Aide de Tablor$") || fail "no help window"
pgrep -f "tablor-chm $work/Tablor.chm" >/dev/null || fail "the help file is not read by its reader"
keys "$h" Escape
for _ in $(seq 1 50); do xdotool search --onlyvisible --name "^Aide de Tablor$" >/dev/null 2>&1 || break; sleep 0.1; done
xdotool search --onlyvisible --name "^Aide de Tablor$" >/dev/null 2>&1 && fail "Escape left the help open"
pgrep -f "tablor-chm $work/Tablor.chm" >/dev/null && fail "the reader outlived its help window"

# 3c. "Texte non trouvé." belongs to the search dialog and shows above it; once it is closed,
# the keys go to the keyword again, not to the grid (the table stays unmodified).
keys "$w" alt+t Down Down Down Down Return
d=$(wait_window "^Rechercher$") || fail "no search dialog"
xdotool type --delay 60 "introuvable"
keys "$d" Return
i=$(wait_window "^Information$") || fail "no not-found message"
hex() { printf '0x%x' "$1"; }
xprop -id "$i" WM_TRANSIENT_FOR | grep -qi "$(hex "$d")\$" ||
    fail "the message does not belong to the search dialog: $(xprop -id "$i" WM_TRANSIENT_FOR)"
order=$(xprop -root _NET_CLIENT_LIST_STACKING | tr -d ',' | tr ' ' '\n' | grep -i -x -e "$(hex "$d")" -e "$(hex "$i")" | tr '\n' ' ')
[ "$order" = "$(hex "$d") $(hex "$i") " ] || fail "the message is not above the dialog: $order"
xdotool key Return
sleep 0.5
[ "$(xdotool getactivewindow)" = "$d" ] || fail "the focus did not come back to the search dialog"
xdotool type --delay 60 "x"
keys "$d" Escape
keys "$w" alt+f q
for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "a key typed after the message reached the grid"

# 4. A change, then quit: the save question; Escape keeps the window open.
"$work/tablor" &
pid=$!
w=$(wait_window "Tablor 1.0 - Fichier t \(2 enregistrements\)") || fail "last table not reopened"
keys "$w" x Return alt+f q
q=$(wait_window "Confirmation") || fail "no save question"
keys "$q" Escape
sleep 0.3
kill -0 $pid 2>/dev/null || fail "the window closed after Cancel"
kill $pid

# A start table that is refused: the error box, then a usable untitled window.
refused_start() {
  "$work/tablor" "$1" &
  pid=$!
  e=$(wait_window "^Tablor 1.0$") || fail "no error box for $2"
  keys "$e" Return
  w=$(wait_window "Tablor 1.0 - Fichier SANS NOM \(1 enregistrement\)") ||
    fail "no untitled window after $2"
  kill $pid
}

# 5. A damaged table.
printf 'PK\003\004\024\000\b\000\377\376 binaire\r\n' >"$work/casse.tbr"
refused_start "$work/casse.tbr" "a damaged table"

# 6. A pipe named on the command line: refused at once by name, never waited on.
mkfifo "$work/tube.tbr"
refused_start "$work/tube.tbr" "a pipe"
# 7. A big table copied, then edited: another program pastes the table as it was copied (a big
# copy's text is written only when asked for); copied again, it pastes the edit.
awk -v n=33000 'BEGIN { printf "2\n%d\n0\n327\n450\n64\n8\n40\n1\n80\n8\n88\n1\nNom\nVille\n", n + 1
  for (i = 1; i <= n; i++) printf "n%d\nville %d\n", i, i }' >"$work/grand.tbr"
"$work/tablor" "$work/grand.tbr" &
pid=$!
w=$(wait_window "Tablor 1.0 - Fichier grand \(33000 enregistrements\)") || fail "big table not opened"
pasted() { # first record's name -> whether the clipboard holds the whole table with it
  { printf '%s\r\n\r\n' "$(xdotool getwindowname "$w")"
    awk -v first="$1" 'BEGIN { for (i = 1; i <= 33000; i++) printf "%s\r\nville %d\r\n\r\n", i == 1 ? first : "n" i, i }'
  } | cmp -s - <(xclip -o -selection clipboard)
}
keys "$w" alt+e c
keys "$w" x Return
pasted n1 || fail "the copy did not paste the table as copied: $(xclip -o -selection clipboard | head -c 300)"
keys "$w" alt+e c
pasted x || fail "the second copy did not paste the edit: $(xclip -o -selection clipboard | head -c 300)"
kill $pid
echo "real window: all checks passed"
