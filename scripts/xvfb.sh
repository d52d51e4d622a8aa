#!/bin/sh
# Starts or stops a private X server for tests that open real windows under Wine.
#   xvfb.sh start DISPLAY_NUMBER PIDFILE
#   xvfb.sh stop DISPLAY_NUMBER PIDFILE
set -eu
action=$1 display=$2 pidfile=$3

stop() {
    if [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
        rm -f "$pidfile"
    fi
}

case $action in
start)
    # A server left over by an interrupted run of this build tree would hold the display.
    stop
    setsid Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! >"$pidfile"
    for _ in $(seq 100); do
        if ! kill -0 "$(cat "$pidfile")" 2>/dev/null; then
            echo "Xvfb could not start on :$display" >&2
            rm -f "$pidfile"
            exit 1
        fi
        # A socket file may be left from a server that was killed; only an answer counts.
        if DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1; then
            exit 0
        fi
        sleep 0.1
    done
    echo "Xvfb did not come up on :$display" >&2
    exit 1
    ;;
stop)
    stop
    ;;
*)
    echo "usage: $0 start|stop DISPLAY_NUMBER PIDFILE" >&2
    exit 2
    ;;
esac
