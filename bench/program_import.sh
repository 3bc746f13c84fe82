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
# other work on the machine disturbs less, its peak resident memory and how far that lies above its resident
# memory before the import, log.txt's size, and beside it the time of
# an awk pass over the same log (`awk '{n+=NF}'`) with the ratio of the two.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(realpath "${1:-$root/build/release/logs/life_100x100_110.log}")"
runs="${2:-3}"
program="$(realpath "${3:-$root/build/release/tessaron}")"
marker="Node added successfully to Scene graph"

name=program_import
# shellcheck source=bench/program_session.sh
source "$root/bench/program_session.sh"
start_display

echo "# $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)  log: $log ($(wc -l < "$log") lines)"
for run in $(seq "$runs"); do
    start_program
    xdotool type --delay 4 -- "vis_new bench" 2>/dev/null
    xdotool key Return 2>/dev/null
    xdotool type --delay 4 -- "vis_import_logfile $log" 2>/dev/null
    rss_start=$(awk '/VmRSS/ {print $2}' "/proc/$app/status")
    start=$(date +%s.%N)
    cpu_start=$(cpu_seconds "$app")
    xdotool key Return 2>/dev/null
    xdotool type --delay 4 -- "vis_add_detail_node CUBE 0 0 0 1" 2>/dev/null
    xdotool key Return 2>/dev/null
    wait_for_line "$marker"
    end=$(date +%s.%N)
    cpu=$(awk -v a="$cpu_start" -v b="$(cpu_seconds "$app")" 'BEGIN { printf "%.2f", b - a }')
    peak=$(awk '/VmHWM/ {print $2 / 1024 " MB"}' "/proc/$app/status")
    growth=$(awk -v a="$rss_start" '/VmHWM/ {printf "%.0f MB", ($2 - a) / 1024}' "/proc/$app/status")
    size=$(stat -c %s "$work/log.txt")
    stop_program
    seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
    # The bare reader over the same file right after, so both see the same machine and page cache.
    awk_start=$(date +%s.%N)
    awk '{n+=NF} END{print n}' "$log" >/dev/null
    awk_seconds=$(awk -v a="$awk_start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
    ratio=$(awk -v a="$seconds" -v b="$awk_seconds" 'BEGIN { printf "%.1f", a / b }')
    echo "run $run: $seconds s (cpu $cpu s), peak resident $peak (+$growth), log.txt $((size / 1048576)) MB;" \
        "awk $awk_seconds s, ratio $ratio"
done
