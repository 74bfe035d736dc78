# Helpers the end-to-end scripts share for driving a program's windows with xdotool.

wait_window() { # name pattern -> window id; waits up to 30 s, for a loaded machine
    local id
    for _ in $(seq 1 300); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
keys() { # window, keys...
    local w=$1; shift
    xdotool windowfocus --sync "$w"
    sleep 0.2
    xdotool key --delay 60 "$@"
    sleep 0.3
}
