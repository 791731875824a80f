# Sourced by the private test servers' scripts (pulse-private.sh, cups-private.sh).
#
# stop_our_process PIDFILE MARKER: stops the process named in PIDFILE, but only when its
# command line holds MARKER (a pid file left from an earlier run may name a process that
# has the number now): politely first, for at most 5 s, then by force.
stop_our_process() {
    local pid_file="$1" marker="$2" pid
    [ -f "$pid_file" ] || return 0
    pid="$(cat "$pid_file")"
    is_ours() {
        kill -0 "$1" 2>/dev/null || return 1
        grep -qzF -- "$marker" "/proc/$1/cmdline" 2>/dev/null
    }
    [ -n "$pid" ] && is_ours "$pid" || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if is_ours "$pid"; then
        kill -9 "$pid" 2>/dev/null || true
    fi
}
