#!/usr/bin/env bash
# The real executable as a running instance on the simulated desktop: `apply` goes through it
# (so a repeat cycles to the other display, as the shortcut does) and a killed instance never
# blocks the next start. The second start is tried on a real X server (tests/x11).
set -euo pipefail
tilewise=$1
settings=$2
work=$(mktemp -d)
pid=
trap '[[ -n "$pid" ]] && { kill -9 "$pid"; wait "$pid" || true; } 2>/dev/null; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/runtime XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
unset TilewiseSettingsPath
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/Tilewise"
# Margins off, so that the layout fits either display.
sed '/"margins"/,/}/ s/"enabled": true/"enabled": false/' "$settings" > "$XDG_CONFIG_HOME/Tilewise/settings.json"
socket=$XDG_RUNTIME_DIR/tilewise/sim.sock
lock=$XDG_RUNTIME_DIR/tilewise/sim.lock

fail() { echo "FAIL: $*" >&2; exit 1; }
start() {
    "$tilewise" --platform=sim 2>"$work/instance.log" &
    pid=$!
    for _ in $(seq 100); do
        [[ -S "$socket" && -f "$lock" && $(head -n1 "$lock") == "$pid" ]] && return 0
        sleep 0.1
    done
    cat "$work/instance.log" >&2
    fail "the instance did not come up"
}

# Only the running instance remembers the last placement: a repeat moves to the next display.
cycles() {
    local first second
    first=$("$tilewise" --platform=sim apply "Left half") || fail "apply: $first"
    second=$("$tilewise" --platform=sim apply "Left half") || fail "apply again: $second"
    [[ $(head -n1 <<<"$first") != $(head -n1 <<<"$second") ]] ||
        fail "a repeated apply stayed on its display: $first / $second"
    echo "through the instance: ${first%%$'\n'*} then ${second%%$'\n'*}"
}

start
cycles
missing=$("$tilewise" --platform=sim apply "No such layout" 2>&1) && fail "an unknown layout succeeded"
[[ $missing == *"no saved layout “No such layout”"* ]] || fail "unknown layout said: $missing"

kill -9 "$pid"
wait "$pid" 2>/dev/null || true
start
cycles
echo "a killed instance's socket and lock did not block a new start"
