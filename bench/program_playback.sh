#!/usr/bin/env bash
# Measures the rate playback reaches in the running program: the Release build of tessaron on a private Xvfb
# display, a run imported and played with the console hidden, so that every step draws the whole 3D view.
# Each step logs "Time incremented to: ..." and every callback leaves log.txt complete when it returns, so
# the moment a step's line appears in log.txt is the moment the step was taken (within the polling period
# of 5 ms). The rate is (steps - 1) / (time of the last step - time of the first).
#
# Two runs per start of the program: at the default rate (Space: 10 steps per second), then at
# `play 1000`, which steps as fast as frames can be drawn.
#
# usage: bench/program_playback.sh [LOG] [RUNS] [TESSARON]
#   LOG      the run to play (default: build/release/logs/life_100x100.log, target life_log_large:
#            100 x 100 cells, 64 generations)
#   RUNS     how many times to start the program (default 3)
#   TESSARON the program (default: build/release/tessaron)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(realpath "${1:-$root/build/release/logs/life_100x100.log}")"
runs="${2:-3}"
program="$(realpath "${3:-$root/build/release/tessaron}")"

work="$(mktemp -d /tmp/tessaron-program-playback-XXXXXX)"
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

cpu_seconds() {
    awk -v hz="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); print ($12 + $13) / hz }' "/proc/$1/stat"
}

# Waits until log.txt, from byte $2 on, holds the text $1.
wait_for_text() {
    local limit=$((SECONDS + 600))
    until tail -c +"$(($2 + 1))" "$work/log.txt" 2>/dev/null | grep -qF -- "$1"; do
        if [ "$SECONDS" -gt "$limit" ]; then
            echo "program_playback: no '$1' in log.txt after 600 s" >&2
            exit 1
        fi
        sleep 0.02
    done
}

# Plays from byte $1 of log.txt on until "Playback finished at"; prints "steps rate".
time_steps() {
    local from="$1" seen=0 first="" last="" now count
    local limit=$((SECONDS + 600))
    while :; do
        now=$(date +%s.%N)
        count=$(tail -c +"$((from + 1))" "$work/log.txt" | grep -c "^Time incremented to: " || true)
        if [ "$count" -gt "$seen" ]; then
            [ -z "$first" ] && first="$now"
            last="$now"
            seen="$count"
        fi
        if tail -c +"$((from + 1))" "$work/log.txt" | grep -q "^Playback finished at "; then
            break
        fi
        if [ "$SECONDS" -gt "$limit" ]; then
            echo "program_playback: playback did not finish within 600 s" >&2
            exit 1
        fi
        sleep 0.005
    done
    awk -v n="$seen" -v a="$first" -v b="$last" 'BEGIN { printf "%d steps, %.2f steps/s", n, (n - 1) / (b - a) }'
}

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
xvfb=$!
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"

echo "# $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)  log: $log"
for run in $(seq "$runs"); do
    (cd "$work" && exec "$program") >/dev/null 2>&1 &
    app=$!
    wait_for_text "Startup successful..." 0
    window="$(xdotool search --sync --name '^Tessaron$' | head -n1)"
    xdotool mousemove --window "$window" 400 300 windowfocus --sync "$window" 2>/dev/null || true
    xdotool type --delay 4 -- "vis_new bench" 2>/dev/null
    xdotool key Return 2>/dev/null
    xdotool type --delay 4 -- "vis_import_logfile $log" 2>/dev/null
    xdotool key Return 2>/dev/null
    # Answered only once the import is through.
    xdotool type --delay 4 -- "time_goto start" 2>/dev/null
    xdotool key Return 2>/dev/null
    wait_for_text "Current time: 00:00:00:000" 0
    # Hide the console; Space plays at the default rate.
    xdotool key grave 2>/dev/null
    from=$(stat -c %s "$work/log.txt")
    cpu_start=$(cpu_seconds "$app")
    xdotool key space 2>/dev/null
    default=$(time_steps "$from")
    cpu_default=$(awk -v a="$cpu_start" -v b="$(cpu_seconds "$app")" 'BEGIN { printf "%.2f", b - a }')
    # The fastest rate: set with the command, then played again from the start.
    xdotool key grave 2>/dev/null
    from=$(stat -c %s "$work/log.txt")
    xdotool type --delay 4 -- "play 1000" 2>/dev/null
    xdotool key Return 2>/dev/null
    xdotool type --delay 4 -- "stop" 2>/dev/null
    xdotool key Return 2>/dev/null
    xdotool type --delay 4 -- "time_goto start" 2>/dev/null
    xdotool key Return 2>/dev/null
    wait_for_text "Current time: 00:00:00:000" "$from"
    xdotool key grave 2>/dev/null
    from=$(stat -c %s "$work/log.txt")
    cpu_start=$(cpu_seconds "$app")
    xdotool key space 2>/dev/null
    fastest=$(time_steps "$from")
    cpu_fastest=$(awk -v a="$cpu_start" -v b="$(cpu_seconds "$app")" 'BEGIN { printf "%.2f", b - a }')
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
    echo "run $run: default rate: $default (cpu $cpu_default s); play 1000: $fastest (cpu $cpu_fastest s)"
done
