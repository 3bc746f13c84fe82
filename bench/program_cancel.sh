#!/usr/bin/env bash
# How soon Escape ends a long import in the running program: the import typed into the console, Escape
# pressed after 1, 2, ... seconds, the clock stopped when log.txt shows "Import cancelled after N lines"
# (polled every 20 ms, so add up to that much).
#
# usage: bench/program_cancel.sh [LOG] [RUNS] [TESSARON]
#   LOG      default: build/release/logs/heat_100x100x100.log (target heat_log_large)
#   RUNS     default 3; run k presses Escape k seconds into the import
#   TESSARON default: build/release/tessaron
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(realpath "${1:-$root/build/release/logs/heat_100x100x100.log}")"
runs="${2:-3}"
program="$(realpath "${3:-$root/build/release/tessaron}")"

name=program_cancel
# shellcheck source=bench/program_session.sh
source "$root/bench/program_session.sh"
start_display

echo "# $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)  log: $log"
for run in $(seq "$runs"); do
    start_program
    command_line "vis_new cancel"
    command_line "vis_import_logfile $log"
    sleep "$run"
    start=$(date +%s.%N)
    xdotool key Escape 2>/dev/null
    wait_for_line "Import cancelled after"
    seconds=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.3f", b - a }')
    echo "run $run: $seconds s after Escape: $(grep -a 'Import cancelled after' "$work/log.txt")"
    stop_program
done
