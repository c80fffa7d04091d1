#!/usr/bin/env bash
# Runs a command on a private virtual X display with a system tray:
#   scripts/with-tray-host.sh [--size WxH] COMMAND [ARGS...]
# Starts Xvfb on a free display number and Debian's `trayer` as the tray host
# at the bottom-right corner, runs COMMAND with DISPLAY set and Qt on xcb, and
# stops both afterwards. Exits with COMMAND's status.
set -euo pipefail
size="1280x800"
if [ "${1:-}" = "--size" ]; then size="$2"; shift 2; fi
[ $# -gt 0 ] || { echo "usage: $0 [--size WxH] COMMAND [ARGS...]" >&2; exit 2; }
for tool in Xvfb trayer xdotool; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 2; }
done

workdir="$(mktemp -d)"
xvfb_pid=""
trayer_pid=""
cleanup() {
  [ -n "$trayer_pid" ] && kill "$trayer_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$workdir"
}
trap cleanup EXIT

# -displayfd: the server picks a free display and writes its number back
# once it accepts clients. -noreset: by default the server resets whenever
# its last client leaves, dropping any client that is just connecting; the
# short-lived xdotool probes below would otherwise cut off trayer's start.
mkfifo "$workdir/display"
Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp 3>"$workdir/display" \
  >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 30 display_number <"$workdir/display" || {
  echo "$0: Xvfb did not start" >&2; cat "$workdir/xvfb.log" >&2; exit 1; }
export DISPLAY=":$display_number"

trayer --edge bottom --align right --widthtype request --height 32 \
  --SetDockType true --SetPartialStrut true --transparent false --tint 0xd8d8d8 \
  >"$workdir/trayer.log" 2>&1 &
trayer_pid=$!
# Up once its panel window exists; fails at once if trayer ended.
deadline=$((SECONDS + 30))
until xdotool search --classname trayer >/dev/null 2>&1; do
  if [ "$SECONDS" -ge "$deadline" ] || ! kill -0 "$trayer_pid" 2>/dev/null; then
    echo "$0: trayer did not start" >&2; cat "$workdir/trayer.log" >&2; exit 1
  fi
  sleep 0.05
done

export QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit "$status"
