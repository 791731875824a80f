#!/usr/bin/env bash
# A private PulseAudio server for the real-audio test: one null sink (what is played there
# comes back on its monitor, which is the default source), reachable only through its own
# socket. Nothing of the user's sound setup is touched.
#
#   tools/pulse-private.sh start   starts it and writes $ORVI_PULSE_DIR/env
#   tools/pulse-private.sh stop    stops it by its process id and removes the directory
#
# The env file holds the variables that point PulseAudio clients and ALSA's "pulse" device
# (libasound2-plugins) at this server; tests source it (tst_audiorealaudio reads it).
set -euo pipefail
. "$(dirname "$0")/private-server.sh"

DIR="${ORVI_PULSE_DIR:-/tmp/orvi-pulse-$(id -u)}"
ENV_FILE="$DIR/env"
PID_FILE="$DIR/pid"
SOCKET="$DIR/native"

stop_server() {
    stop_our_process "$PID_FILE" "--file=$DIR/default.pa"
    rm -rf "$DIR"
}

start_server() {
    command -v pulseaudio >/dev/null || { echo "pulse-private: pulseaudio is not installed" >&2; exit 1; }
    stop_server
    mkdir -p "$DIR/runtime" "$DIR/state" "$DIR/home"
    chmod 700 "$DIR" "$DIR/runtime"

    # Only what the test needs: a protocol socket and a null sink. norewinds=1 keeps new
    # streams from stalling for seconds while the sink rewinds.
    cat > "$DIR/default.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1 socket=$SOCKET
load-module module-null-sink sink_name=orvi_null norewinds=1 rate=48000 channels=2 sink_properties=device.description=OrviNull
set-default-sink orvi_null
set-default-source orvi_null.monitor
PA
    # ALSA's default and "pulse" devices both go to this server.
    cat > "$DIR/asound.conf" <<ALSA
pcm.!default { type pulse }
ctl.!default { type pulse }
pcm.pulse { type pulse }
ctl.pulse { type pulse }
ALSA

    # As root PulseAudio wants --system; a per-user daemon works too when told not to
    # exit and given its own runtime and state folders.
    env -u PULSE_SERVER \
        HOME="$DIR/home" XDG_RUNTIME_DIR="$DIR/runtime" PULSE_RUNTIME_PATH="$DIR/runtime" \
        PULSE_STATE_PATH="$DIR/state" XDG_CONFIG_HOME="$DIR/home/.config" \
        pulseaudio --system=false -n --file="$DIR/default.pa" --exit-idle-time=-1 \
        --disallow-exit --disallow-module-loading=false --use-pid-file=false \
        --log-target=file:"$DIR/pulse.log" --daemonize=false \
        --high-priority=yes --realtime=yes \
        </dev/null >/dev/null 2>&1 &
    echo $! > "$PID_FILE"

    for _ in $(seq 1 100); do
        if [ -S "$SOCKET" ] && PULSE_SERVER="unix:$SOCKET" pactl info >/dev/null 2>&1; then
            break
        fi
        if ! kill -0 "$(cat "$PID_FILE")" 2>/dev/null; then
            echo "pulse-private: the server did not start; log:" >&2
            cat "$DIR/pulse.log" >&2 2>/dev/null || true
            rm -f "$PID_FILE"
            exit 1
        fi
        sleep 0.1
    done
    if ! PULSE_SERVER="unix:$SOCKET" pactl info >/dev/null 2>&1; then
        echo "pulse-private: the server does not answer on $SOCKET" >&2
        stop_server
        exit 1
    fi

    cat > "$ENV_FILE" <<ENV
PULSE_SERVER=unix:$SOCKET
ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:$DIR/asound.conf
ORVI_PULSE_PID=$(cat "$PID_FILE")
ENV
    echo "pulse-private: PulseAudio $(cat "$PID_FILE") on $SOCKET"
}

case "${1:-}" in
start) start_server ;;
stop) stop_server ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
