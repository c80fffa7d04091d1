#!/bin/sh
# Runs a command against a Secret Service of its own: a private session bus
# (dbus-run-session) and gnome-keyring-daemon unlocked with a test password,
# with HOME and the XDG folders in a temporary folder, so that nothing of the
# user's own bus or keyring is reached.
#
#   with-keyring.sh [--bus-only | --locked | --silent] command [arguments...]
#
# --bus-only: the bus has no Secret Service at all (and starts none on demand).
# --locked:   the daemon's login collection exists but stays locked, and no
#             prompt can unlock it.
# --silent:   the Secret Service's name is owned by a process that never
#             answers (silent-secret-service.py beside this script).
set -eu

mode=unlocked
case "${1:-}" in
--bus-only) mode=bus-only; shift ;;
--locked) mode=locked; shift ;;
--silent) mode=silent; shift ;;
esac
here=$(cd "$(dirname "$0")" && pwd)

# Without the tools the test cannot run: exit code 77 marks it skipped.
missing() {
    echo "with-keyring: $1 is missing; skipped" >&2
    exit 77
}
for tool in dbus-run-session dbus-send; do
    command -v "$tool" >/dev/null 2>&1 || missing "$tool"
done
case "$mode" in
unlocked | locked) command -v gnome-keyring-daemon >/dev/null 2>&1 || missing gnome-keyring-daemon ;;
silent) /usr/bin/python3 -c "import dbus, gi" 2>/dev/null || missing "python3-dbus or python3-gi" ;;
esac

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
# The bus of the test alone: no service files, so nothing is started on
# demand (no second daemon, no prompter).
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

export CALENDAR_KEYRING_DIR="$tmp" CALENDAR_KEYRING_MODE="$mode" CALENDAR_KEYRING_SUPPORT="$here"
# Inside the bus: start the daemon (its pid kept for the cleanup above, should
# this shell be killed), wait up to 10 s for it to own the Secret Service
# name, run the command, and stop the daemon before the bus goes.
dbus-run-session --config-file="$tmp/bus.conf" -- sh -c '
    set -eu
    dir=$CALENDAR_KEYRING_DIR
    mode=$CALENDAR_KEYRING_MODE
    support=$CALENDAR_KEYRING_SUPPORT
    unset CALENDAR_KEYRING_DIR CALENDAR_KEYRING_MODE CALENDAR_KEYRING_SUPPORT

    # Starts the daemon with $1 as its password ("-" for none, "silent" for
    # the service that never answers).
    start_daemon() {
        if [ "$1" = silent ]; then
            /usr/bin/python3 "$support/silent-secret-service.py" </dev/null >"$dir/daemon.log" 2>&1 &
        elif [ "$1" = - ]; then
            gnome-keyring-daemon --foreground --components=secrets </dev/null >"$dir/daemon.log" 2>&1 &
        else
            printf %s "$1" | gnome-keyring-daemon --foreground --unlock --components=secrets \
                >"$dir/daemon.log" 2>&1 &
        fi
        echo $! >"$dir/daemon.pid"
        tries=0
        until dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
                org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null \
                | grep -q "boolean true"; do
            tries=$((tries + 1))
            if [ "$tries" -ge 100 ]; then
                echo "with-keyring: the Secret Service did not start" >&2
                cat "$dir/daemon.log" >&2
                exit 1
            fi
            sleep 0.1
        done
    }
    stop_daemon() {
        if [ -s "$dir/daemon.pid" ]; then
            kill "$(cat "$dir/daemon.pid")" 2>/dev/null || true
            wait "$(cat "$dir/daemon.pid")" 2>/dev/null || true
            : >"$dir/daemon.pid"
        fi
    }

    case "$mode" in
    unlocked)
        start_daemon test-password
        # Tells the test that this keyring is its own to fill.
        export CALENDAR_PRIVATE_KEYRING=1
        ;;
    locked)
        # The first start creates the login collection; the second finds it locked.
        start_daemon test-password
        stop_daemon
        start_daemon -
        ;;
    silent) start_daemon silent ;;
    esac
    set +e
    "$@"
    status=$?
    stop_daemon
    exit $status
' with-keyring "$@"
