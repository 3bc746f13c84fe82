# Shared by the bench/program_*.sh scripts, which source it: the running program on a private Xvfb display,
# driven with xdotool. Sets `work` (a fresh directory the program runs in, removed at exit), `app` (the
# program's process id while it runs) and DISPLAY.
#
# Needs `program` (the tessaron to run) to be set, and a `name` for messages.

work="$(mktemp -d "/tmp/tessaron-${name}-XXXXXX")"
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

# Waits until log.txt, from byte $2 on (default: its last 64 KiB), holds the text $1. One perl process looks
# every 20 ms: a new tail, grep and sleep every 20 ms, as this did before, took a third of a core from the
# program being timed (perf sched: 344 ms of CPU during a one-second import).
wait_for_line() {
    perl -e '
        my ($path, $text, $from) = @ARGV;
        my $deadline = time + 600;
        while (1) {
            if (open(my $file, "<", $path)) {
                my $size = -s $file;
                my $start = $from ne "" ? $from : ($size > 65536 ? $size - 65536 : 0);
                seek($file, $start, 0);
                local $/;
                my $data = <$file>;
                exit 0 if defined $data && index($data, $text) >= 0;
            }
            exit 1 if time > $deadline;
            select(undef, undef, undef, 0.02);
        }' "$work/log.txt" "$1" "${2:-}" || {
        echo "$name: no '$1' in log.txt after 600 s" >&2
        exit 1
    }
}

# Types a console line and presses Return.
command_line() {
    xdotool type --delay 4 -- "$1" 2>/dev/null
    xdotool key Return 2>/dev/null
}

start_display() {
    exec 3<> "$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
    xvfb=$!
    until [ -s "$work/display" ]; do sleep 0.05; done
    export DISPLAY=":$(head -n1 "$work/display")"
}

# Starts the program and waits until it is up, its window focused.
start_program() {
    (cd "$work" && exec "$program") >/dev/null 2>&1 &
    app=$!
    wait_for_line "Startup successful..."
    local window
    window="$(xdotool search --sync --name '^Tessaron$' | head -n1)"
    xdotool mousemove --window "$window" 400 300 windowfocus --sync "$window" 2>/dev/null || true
}

stop_program() {
    kill "$app"
    wait "$app" 2>/dev/null || true
    app=""
}
