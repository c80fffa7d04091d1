#!/usr/bin/env bash
# Start-up as a user meets it: from launching the program to its main window
# being mapped on an X display, with an empty database, 10,000 and 200,000
# events, each after a clean quit (File > Quit) and after a crash (SIGKILL,
# the database left with its write-ahead log). Runs on its own Xvfb display.
# Prints the median of RUNS starts beside the target, and any start that
# did not end as it should (its stderr kept).
#   bench/app/startup-process.sh [RUNS]        (after scripts/build.sh)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
exe="${BUILD_DIR:-$root/build}/src/calendar"
runs="${1:-9}"
[ -x "$exe" ] || { echo "$0: $exe is missing; run scripts/build.sh first" >&2; exit 1; }

work="$(mktemp -d)"
display=":$((100 + RANDOM % 400))"
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
export DISPLAY="$display" XDG_DATA_HOME="$work/xdg" XDG_CONFIG_HOME="$work/config"
export CALENDAR_UPDATE_BASE_URL="http://127.0.0.1:9/" SYNC_API_URL="http://127.0.0.1:9/calendar/v1"

prepare() { # data folder, event count
  export CALENDAR_DATA_DIR="$1" CALENDAR_INSTANCE="startup-bench-$2"
  "$exe" --background >/dev/null 2>&1 &
  local pid=$!
  until [ -s "$1/calendar.db" ] && sqlite3 "$1/calendar.db" 'SELECT 1 FROM calendars LIMIT 1' 2>/dev/null | grep -q 1; do sleep 0.1; done
  kill "$pid"; wait "$pid" 2>/dev/null || true
  [ "$2" -gt 0 ] || return 0
  # Two years around today, one to three hours long, 2% weekly series.
  sqlite3 "$1/calendar.db" <<SQL
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < $2)
INSERT INTO events (id, calendar_id, uid, title, start_time, end_time, recurrence_rule,
                    raw_icalendar, created, last_modified)
SELECT 'e' || i, 'quillmarten-personal-default', 'e' || i, 'Event ' || i,
       strftime('%Y-%m-%dT%H:00:00Z', 'now', ((i * 37) % 730 - 365) || ' days', ((i * 7) % 12 + 7) || ' hours', 'start of day'),
       strftime('%Y-%m-%dT%H:00:00Z', 'now', ((i * 37) % 730 - 365) || ' days', ((i * 7) % 12 + 8 + i % 3) || ' hours', 'start of day'),
       CASE WHEN i % 50 = 0 THEN 'FREQ=WEEKLY' ELSE NULL END,
       '', strftime('%Y-%m-%dT%H:%M:%SZ', 'now'), strftime('%Y-%m-%dT%H:%M:%SZ', 'now')
FROM n;
SQL
}

measure() { # data folder, event count, how the program ends: quit or crash
  export CALENDAR_DATA_DIR="$1" CALENDAR_INSTANCE="startup-bench-$2"
  local times=() t0 t1 pid wid rc
  for run in $(seq 1 "$runs"); do
    t0=$(date +%s%N)
    "$exe" >/dev/null 2>"$work/stderr" &
    pid=$!
    # xdotool's own --sync polls twice a second: too coarse here.
    until wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -1) && [ -n "$wid" ]; do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.005
    done
    t1=$(date +%s%N)
    if [ "$3" = quit ]; then
      xdotool windowfocus --sync "$wid" key ctrl+q 2>/dev/null || kill "$pid"
    else
      kill -KILL "$pid"
    fi
    rc=0; wait "$pid" 2>/dev/null || rc=$?
    if { [ "$3" = quit ] && [ "$rc" -ne 0 ]; } || { [ "$3" = crash ] && [ "$rc" -ne 137 ]; }; then
      echo "  run $run ended with code $rc:"; sed 's/^/    /' "$work/stderr"
    fi
    times+=($(( (t1 - t0) / 1000000 )))
  done
  local sorted
  sorted=$(printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' ')
  echo "$2 events, after a $3: median $(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p") ms," \
       "target 100 ms (runs: $sorted)"
}

for count in 0 10000 200000; do
  prepare "$work/data-$count" "$count"
  for end in quit crash; do
    measure "$work/data-$count" "$count" "$end"
  done
done
