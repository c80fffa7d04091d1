#!/bin/sh
# Runs a command against a Secret Service of its own: a private session bus
# (dbus-run-session) and gnome-keyring-daemon unlocked with a test password,
# with HOME and the XDG folders in a temporary folder, so that nothing of the
# user's own bus or keyring is reached. With --bus-only the bus has no Secret
# Service at all (and starts none on demand).
#
#   with-keyring.sh [--bus-only] command [arguments...]
set -eu

keyring=yes
if [ "${1:-}" = "--bus-only" ]; then
    keyring=no
    shift
fi

tmp=$(mktemp -d "${TMPDIR:-/tmp}/calendar-keyring.XXXXXX")
cleanup() {
    if [ -s "$tmp/daemon.pid" ]; then
        kill "$(cat "$tmp/daemon.pid")" 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

export HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" \
    XDG_CACHE_HOME="$tmp/cache" XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# The bus of the test alone: no service files, so nothing is started on demand.
cat > "$tmp/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$tmp/run</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF

export CALENDAR_KEYRING_DIR="$tmp" CALENDAR_KEYRING="$keyring"
# Inside the bus: start the daemon (its pid kept for the cleanup above, should
# this shell be killed), wait up to 10 s for it to own the Secret Service
# name, run the command, and stop the daemon before the bus goes.
dbus-run-session --config-file="$tmp/bus.conf" -- sh -c '
    set -eu
    if [ "$CALENDAR_KEYRING" = yes ]; then
        printf %s test-password | gnome-keyring-daemon --foreground --unlock --components=secrets \
            >"$CALENDAR_KEYRING_DIR/daemon.log" 2>&1 &
        echo $! >"$CALENDAR_KEYRING_DIR/daemon.pid"
        tries=0
        until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
                org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null \
                | grep -q "boolean true"; do
            tries=$((tries + 1))
            if [ "$tries" -ge 100 ]; then
                echo "with-keyring: gnome-keyring-daemon did not start" >&2
                cat "$CALENDAR_KEYRING_DIR/daemon.log" >&2
                exit 1
            fi
            sleep 0.1
        done
    fi
    dir=$CALENDAR_KEYRING_DIR
    unset CALENDAR_KEYRING_DIR CALENDAR_KEYRING
    set +e
    "$@"
    status=$?
    if [ -s "$dir/daemon.pid" ]; then
        kill "$(cat "$dir/daemon.pid")" 2>/dev/null
        wait
        : >"$dir/daemon.pid"
    fi
    exit $status
' with-keyring "$@"
