#!/usr/bin/env bash
# A large run in the running program, step by step as a user takes it: the import typed into the console
# (timed as bench/program_import.sh does, until a command typed after it has run), then each later step timed
# until the frame it asked for is on screen. For that the program runs with TESSARON_SYNC_FILE set: it answers
# a pointer move once every earlier input is handled and the frame they asked for has reached the X server.
#
# usage: bench/program_large_run.sh [LOG] [TESSARON]
#   LOG      default: build/release/logs/heat_100x100x100.log (target heat_log_large)
#   TESSARON default: build/release/tessaron
# Prints, in seconds: the import; the first frame after it (console open, start camera); the frame with the
# console closed; `f` (the whole run fitted in view); End (the last time, as time_goto end); Home. Then the
# program's CPU time, resident and peak resident memory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
log="$(realpath "${1:-$root/build/release/logs/heat_100x100x100.log}")"
program="$(realpath "${2:-$root/build/release/tessaron}")"
marker="Node added successfully to Scene graph"

name=program_large_run
# shellcheck source=bench/program_session.sh
source "$root/bench/program_session.sh"
start_display
export TESSARON_SYNC_FILE="$work/sync.txt"

moves=0
# Moves the pointer to a spot no widget reacts to and waits for the program's answer to that move.
sync_frame() {
    moves=$((moves + 1))
    local x=$((1 + moves % 3))
    xdotool mousemove --window "$window" "$x" 598 2>/dev/null
    # One perl process looks every 10 ms (a new tail every 10 ms took CPU from the program being timed).
    perl -e '
        my ($path, $answer) = @ARGV;
        my $deadline = time + 600;
        while (1) {
            if (open(my $file, "<", $path)) {
                my @lines = <$file>;
                exit 0 if @lines && $lines[-1] =~ /^\Q$answer\E\n?$/;
            }
            exit 1 if time > $deadline;
            select(undef, undef, undef, 0.01);
        }' "$TESSARON_SYNC_FILE" "sync $x 598" || {
        echo "$name: no answer to a pointer move after 600 s" >&2
        exit 1
    }
}

# Sends the keys "$@" (xdotool key names) and sets `took` to the seconds until their frame is on screen. (Not
# in a subshell: sync_frame's count of moves must carry on.)
timed_keys() {
    local start
    start=$(date +%s.%N)
    xdotool key "$@" 2>/dev/null
    sync_frame
    took=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
}

echo "# $(date -u +%FT%TZ) load: $(cut -d' ' -f1-3 /proc/loadavg)  log: $log ($(wc -l < "$log") lines)"
start_program
window="$(xdotool search --name '^Tessaron$' | head -n1)"
sync_frame
command_line "vis_new large"
xdotool type --delay 4 -- "vis_import_logfile $log" 2>/dev/null
start=$(date +%s.%N)
cpu_start=$(cpu_seconds "$app")
xdotool key Return 2>/dev/null
command_line "vis_add_detail_node CUBE 0 0 0 1"
wait_for_line "$marker"
imported=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
rss_imported=$(awk '/VmRSS/ {printf "%d MB", $2 / 1024}' "/proc/$app/status")
sync_frame
first=$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
timed_keys grave
closed=$took
timed_keys f
fitted=$took
timed_keys End
last=$took
timed_keys Home
home=$took
cpu=$(awk -v a="$cpu_start" -v b="$(cpu_seconds "$app")" 'BEGIN { printf "%.1f", b - a }')
rss=$(awk '/VmRSS/ {printf "%d MB", $2 / 1024}' "/proc/$app/status")
peak=$(awk '/VmHWM/ {printf "%d MB", $2 / 1024}' "/proc/$app/status")
stop_program
echo "import $imported s (resident $rss_imported); import and its first frame $first s"
echo "console closed $closed s; f (fitted) $fitted s; End $last s; Home $home s"
echo "cpu $cpu s in all; resident $rss at the end, peak $peak"
