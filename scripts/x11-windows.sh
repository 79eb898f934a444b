# Shell helpers for scripts that drive test windows on an X server (sourced, not run).
# Needs `root` set to the project directory and a build in build/.

source "$root/scripts/poll.sh"

# Gives a window the focus and waits until the window manager calls it active.
focus_window() {
    xdotool windowfocus "$1"
    poll_for 10 window_is_active "$1" || true
}

window_is_active() {
    [[ "$(xprop -root _NET_ACTIVE_WINDOW)" == *"$(printf '%#x' "$1")"* ]]
}

# Opens a test window with the given arguments and sets `window` to its id. Each window's
# process prints the id once the manager manages it and closes its window when its input ends:
# all of them read one pipe that stays open until close_test_windows.
window_pids=()
open_test_window() {
    if [[ -z "${window_hold:-}" ]]; then
        window_hold="$(mktemp -u)"
        mkfifo "$window_hold"
        exec {window_keep}<>"$window_hold"
    fi
    local out
    exec {out}< <(exec "$root/build/tests/tilewise_x11_test_client" "$@" <"$window_hold" {window_keep}>&-)
    window_pids+=($!)
    read -r window <&"$out"
}

close_test_windows() {
    [[ -n "${window_hold:-}" ]] || return 0
    exec {window_keep}>&-
    wait "${window_pids[@]}" 2>/dev/null || true
    rm -f "$window_hold"
}
