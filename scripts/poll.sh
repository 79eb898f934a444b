# Polls COMMAND… every 20 ms until it succeeds (status 0) or SECONDS have passed (status 1).
# Sourced, not run. A property is polled rather than followed with `xprop -spy`: xprop reads the
# property before it asks to hear of changes, and a change in between is never reported.
poll_for() {
    local seconds="$1"; shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.02
    done
}
