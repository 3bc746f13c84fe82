#!/usr/bin/env bash
# Times `--snapshot --time end` of a run from the command line to the written picture, against an X server
# started once (as on a desktop: starting an X server is not part of the snapshot), beside an awk pass over
# the same log in the same round. With several programs each round runs them in turn, so that a build and
# the one before it see the same machine.
#
# usage: bench/program_snapshot.sh [LOG] [ROUNDS] [TESSARON ...]
#   LOG      the log (default: build/release/logs/heat_100x100x100.log, target heat_log_large)
#   ROUNDS   how many rounds (default 5)
#   TESSARON the programs (default: build/release/tessaron)
# Prints one line per run: the program, wall seconds, peak resident memory, awk's seconds and the ratio;
# then, per program, the ratios' range and mean.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(realpath "${1:-$root/build/release/logs/heat_100x100x100.log}")"
rounds="${2:-5}"
shift $(($# < 2 ? $# : 2))
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=("$root/build/release/tessaron")

name=program_snapshot
program="${programs[0]}"
# shellcheck source=bench/program_session.sh
source "$root/bench/program_session.sh"
start_display

echo "# $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)  log: $log ($(wc -l < "$log") lines)"
for round in $(seq "$rounds"); do
    awk_start=$(date +%s.%N)
    awk '{n+=NF} END{print n}' "$log" >/dev/null
    awk_seconds=$(awk -v a="$awk_start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
    for program in "${programs[@]}"; do
        /usr/bin/time -f "%e %M" -o "$work/time" "$program" --no-log --snapshot "$work/snapshot.png" \
            --time end "$log" >/dev/null
        read -r seconds peak < "$work/time"
        ratio=$(awk -v a="$seconds" -v b="$awk_seconds" 'BEGIN { printf "%.2f", a / b }')
        echo "round $round: $program $seconds s, peak resident $((peak / 1024)) MB; awk $awk_seconds s, ratio $ratio"
    done
done | tee "$work/runs"
awk '{ p = $3; r = $NF; n[p]++; s[p] += r; if (!(p in lo) || r < lo[p]) lo[p] = r; if (r > hi[p]) hi[p] = r }
     END { for (p in n) printf "%s: ratio %.2f-%.2f, mean %.2f over %d rounds\n", p, lo[p], hi[p], s[p] / n[p], n[p] }' \
    "$work/runs"
