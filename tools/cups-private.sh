#!/usr/bin/env bash
# A private CUPS server for the printing test: one queue "OrviPDF" on the cups-pdf backend,
# reachable only through its own socket, that turns every job into a PDF file in its own
# folder. Nothing of the machine's printing setup is touched except one cups-pdf instance
# file, /etc/cups/cups-pdf-orvi<uid>.conf (cups-pdf reads its settings only from /etc/cups),
# which stop removes again.
#
#   tools/cups-private.sh start   starts it and writes $ORVI_CUPS_DIR/env
#   tools/cups-private.sh stop    stops it by its process id and removes the folder
#
# The env file holds CUPS_SERVER (the socket, for libcups and so for Qt's printers), the
# queue's name and the folder where the printed PDF files arrive; tests source it
# (tst_PrintCups reads it). The cups-pdf backend must run as root, so as another user the
# server cannot print and start fails.
set -euo pipefail
. "$(dirname "$0")/private-server.sh"

DIR="${ORVI_CUPS_DIR:-/tmp/orvi-cups-$(id -u)}"
ENV_FILE="$DIR/env"
PID_FILE="$DIR/pid"
SOCKET="$DIR/cups.sock"
QUEUE=OrviPDF
INSTANCE="orvi$(id -u)"
INSTANCE_CONF="/etc/cups/cups-pdf-$INSTANCE.conf"

stop_server() {
    stop_our_process "$PID_FILE" "$DIR/cupsd.conf"
    if [ -f "$INSTANCE_CONF" ] && grep -qF "$DIR" "$INSTANCE_CONF" 2>/dev/null; then
        rm -f "$INSTANCE_CONF"
    fi
    rm -rf "$DIR"
}

fail() {
    echo "cups-private: $1" >&2
    if [ -f "$DIR/error_log" ]; then tail -n 20 "$DIR/error_log" >&2 || true; fi
    stop_server
    exit 1
}

start_server() {
    command -v cupsd >/dev/null || { echo "cups-private: cupsd is not installed" >&2; exit 1; }
    command -v lpadmin >/dev/null || { echo "cups-private: lpadmin is not installed" >&2; exit 1; }
    [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "cups-private: the cups-pdf backend is not installed" >&2; exit 1; }
    [ "$(id -u)" -eq 0 ] || { echo "cups-private: the cups-pdf backend needs root" >&2; exit 1; }
    local ppd
    ppd="$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null || true)"
    [ -n "$ppd" ] || { echo "cups-private: the CUPS-PDF printer description is missing" >&2; exit 1; }
    stop_server

    mkdir -p "$DIR/etc/ppd" "$DIR/spool/tmp" "$DIR/cache" "$DIR/state" "$DIR/out" "$DIR/log"
    # The filters run as the lp user: they must reach the spool and the output folder.
    chmod 755 "$DIR" "$DIR/etc" "$DIR/cache" "$DIR/state" "$DIR/log"
    chmod 1777 "$DIR/spool" "$DIR/spool/tmp" "$DIR/out"

    cat > "$DIR/cups-files.conf" <<CONF
ServerRoot $DIR/etc
RequestRoot $DIR/spool
TempDir $DIR/spool/tmp
CacheDir $DIR/cache
StateDir $DIR/state
ErrorLog $DIR/error_log
AccessLog $DIR/log/access_log
PageLog $DIR/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice No
SystemGroup root
CONF
    cat > "$DIR/cupsd.conf" <<CONF
Listen $SOCKET
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
DefaultEncryption Never
MaxJobs 10
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
    # The backend instance "cups-pdf:/$INSTANCE" writes into our folder, without asking for
    # the job owner's home.
    # (Comment lines are left out: cups-pdf takes parts of them into its file names.)
    cat > "$INSTANCE_CONF" <<CONF
Out $DIR/out
AnonDirName $DIR/out
UserUMask 0000
Log $DIR/log
LogType 3
Grp root
CONF

    cupsd -f -c "$DIR/cupsd.conf" -s "$DIR/cups-files.conf" </dev/null >"$DIR/cupsd.out" 2>&1 &
    echo $! > "$PID_FILE"

    local up=0
    for _ in $(seq 1 100); do
        if [ -S "$SOCKET" ] && CUPS_SERVER="$SOCKET" lpstat -r >/dev/null 2>&1; then
            up=1
            break
        fi
        kill -0 "$(cat "$PID_FILE")" 2>/dev/null || fail "the server did not start"
        sleep 0.1
    done
    [ "$up" = 1 ] || fail "the server does not answer on $SOCKET"
    CUPS_SERVER="$SOCKET" lpadmin -p "$QUEUE" -E -v "cups-pdf:/$INSTANCE" -P "$ppd" \
        || fail "the queue $QUEUE could not be made"
    CUPS_SERVER="$SOCKET" lpadmin -d "$QUEUE" || fail "the queue $QUEUE could not be the default"

    cat > "$ENV_FILE" <<ENV
CUPS_SERVER=$SOCKET
ORVI_CUPS_QUEUE=$QUEUE
ORVI_CUPS_OUT=$DIR/out
ORVI_CUPS_PID=$(cat "$PID_FILE")
ENV
    echo "cups-private: CUPS $(cat "$PID_FILE") on $SOCKET, queue $QUEUE into $DIR/out"
}

case "${1:-}" in
start) start_server ;;
stop) stop_server ;;
*)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
