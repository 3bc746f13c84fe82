#!/usr/bin/env bash
# Times `vis_import_logfile` in the running program: the Release build of tessaron on a private Xvfb display,
# the commands typed with xdotool, both log channels on as start-up leaves them. The clock starts when the
# Return key of the import command is sent and stops when log.txt shows the line of a command typed right
# after it ("Node added successfully to Scene graph" from vis_add_detail_node): the program handles that
# key only once the import's callback has returned, and every callback leaves log.txt complete.
#
# usage: bench/program_import.sh [LOG] [RUNS] [TESSARON]
#   LOG      the log to import (default: build/release/logs/life_100x100_110.log, target life_log_110)
#   RUNS     how many times to start the program and import (default 3)
#   TESSARON the program (default: build/release/tessaron)
# Prints one line per run: wall seconds, the program's CPU seconds (user + system) over the same span, which
# other work on the machine disturbs less, its peak resident memory, and log.txt's size.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(realpath "${1:-$root/build/release/logs/life_100x100_110.log}")"
runs="${2:-3}"
program="$(realpath "${3:-$root/build/release/tessaron}")"
marker="Node added successfully to Scene graph"

work="$(mktemp -d /tmp/tessaron-program-import-XXXXXX)"
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# User + system CPU seconds the process has used so far.
cpu_seconds() {
    awk -v hz="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); print ($12 + $13) / hz }' "/proc/$1/stat"
}

# Waits until the last 64 KiB of log.txt hold the text.
wait_for_line() {
    local text="$1"
    local limit=$((SECONDS + 600))
    until tail -c 65536 "$work/log.txt" 2>/dev/null | grep -qF -- "$text"; do
        if [ "$SECONDS" -gt "$limit" ]; then
            echo "program_import: no '$text' in log.txt after 600 s" >&2
            exit 1
        fi
        sleep 0.02
    done
}

exec 3<> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
xvfb=$!
until [ -s "$work/display" ]; do sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"

echo "# $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)  log: $log ($(wc -l < "$log") lines)"
for run in $(seq "$runs"); do
    (cd "$work" && exec "$program") >/dev/null 2>&1 &
    app=$!
    wait_for_line "Startup successful..."
    window="$(xdotool search --sync --name '^Tessaron$' | head -n1)"
    xdotool mousemove --window "$window" 400 300 windowfocus --sync "$window" 2>/dev/null || true
    xdotool type --delay 4 -- "vis_new bench" 2>/dev/null
    xdotool key Return 2>/dev/null
    xdotool type --delay 4 -- "vis_import_logfile $log" 2>/dev/null
    start=$(date +%s.%N)
    cpu_start=$(cpu_seconds "$app")
    xdotool key Return 2>/dev/null
    xdotool type --delay 4 -- "vis_add_detail_node CUBE 0 0 0 1" 2>/dev/null
    xdotool key Return 2>/dev/null
    wait_for_line "$marker"
    end=$(date +%s.%N)
    cpu=$(awk -v a="$cpu_start" -v b="$(cpu_seconds "$app")" 'BEGIN { printf "%.2f", b - a }')
    peak=$(awk '/VmHWM/ {print $2 / 1024 " MB"}' "/proc/$app/status")
    size=$(stat -c %s "$work/log.txt")
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
    echo "run $run: $seconds s (cpu $cpu s), peak resident $peak, log.txt $((size / 1048576)) MB"
done
