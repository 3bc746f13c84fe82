#!/usr/bin/env bash
# Measures the rate playback reaches in the running program: the Release build of tessaron on a private Xvfb
# display, a run imported and played with the console hidden, so that every step draws the whole 3D view.
# Each step logs "Time incremented to: ..." and every callback leaves log.txt complete when it returns, so
# the moment a step's line appears in log.txt is the moment the step was taken (within the polling period
# of 5 ms). The rate is (steps - 1) / (time of the last step - time of the first).
#
# Two playbacks per start of the program: at the default rate (Space: 10 steps per second), then at
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
name=program_playback
# shellcheck source=bench/program_session.sh
source "$root/bench/program_session.sh"

# Plays from byte $1 of log.txt on until "Playback finished at"; prints the steps and their rate.
time_steps() {
    local from="$1" seen=0 first="" last="" now count
    local limit=$((SECONDS + 600))
    local finished=""
    while :; do
        now=$(date +%s.%N)
        # The last step's line and the finish line are written together: look for the finish first, so
        # that the count taken after it holds the last step.
        if tail -c +"$((from + 1))" "$work/log.txt" | grep -q "^Playback finished at "; then
            finished=yes
        fi
        count=$(tail -c +"$((from + 1))" "$work/log.txt" | grep -c "^Time incremented to: " || true)
        if [ "$count" -gt "$seen" ]; then
            [ -z "$first" ] && first="$now"
            last="$now"
            seen="$count"
        fi
        if [ -n "$finished" ]; then
            break
        fi
        if [ "$SECONDS" -gt "$limit" ]; then
            echo "$name: playback did not finish within 600 s" >&2
            exit 1
        fi
        sleep 0.005
    done
    awk -v n="$seen" -v a="$first" -v b="$last" 'BEGIN { printf "%d steps, %.2f steps/s", n, (n - 1) / (b - a) }'
}

# Presses Space with the console hidden and times the playback; prints the steps, rate and CPU seconds.
play_with_space() {
    local from cpu_start result
    xdotool key grave 2>/dev/null
    from=$(stat -c %s "$work/log.txt")
    cpu_start=$(cpu_seconds "$app")
    xdotool key space 2>/dev/null
    result=$(time_steps "$from")
    echo "$result (cpu $(awk -v a="$cpu_start" -v b="$(cpu_seconds "$app")" 'BEGIN { printf "%.2f", b - a }') s)"
    xdotool key grave 2>/dev/null
}

start_display
echo "# $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)  log: $log"
for run in $(seq "$runs"); do
    start_program
    command_line "vis_new bench"
    command_line "vis_import_logfile $log"
    # Answered only once the import is through.
    command_line "time_goto start"
    wait_for_line "Current time: 00:00:00:000"
    default=$(play_with_space)
    # The fastest rate: set with the command (which starts playing), stopped, then played from the start.
    from=$(stat -c %s "$work/log.txt")
    command_line "play 1000"
    command_line "stop"
    command_line "time_goto start"
    wait_for_line "Current time: 00:00:00:000" "$from"
    fastest=$(play_with_space)
    stop_program
    echo "run $run: default rate: $default; play 1000: $fastest"
done
