#!/usr/bin/env bash
# Screenshots of the real program on a virtual display with a tray host:
# the main window, the tray popover, a reminder balloon and the details of a
# repeating online meeting, in the light and the dark theme.
#   scripts/screenshots.sh [OUTPUT_DIR]        (default: build/screenshots)
# Each theme runs on its own temporary data directory, seeded with a few
# events of today and tomorrow and two reminders (of the meeting and of the
# planning) that are due at start-up. The program reaches no session bus, so the reminders go to the
# tray as one balloon.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
exe="$build/src/calendar"

if [ "${SCREENSHOTS_ON_DISPLAY:-}" != 1 ]; then
  out="$(mkdir -p "${1:-$build/screenshots}" && cd "${1:-$build/screenshots}" && pwd)"
  [ -x "$exe" ] || { echo "$0: $exe is missing; run scripts/build.sh first" >&2; exit 1; }
  for tool in sqlite3 import convert xdotool; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is not installed" >&2; exit 2; }
  done
  SCREENSHOTS_ON_DISPLAY=1 exec "$root/scripts/with-tray-host.sh" --size 1280x800 "$0" "$out"
fi

# ---- On the virtual display (started by with-tray-host.sh) ----------------
out="$1"
pid=""
home=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$home" ] && rm -rf "$home"; true' EXIT

# Waits up to 10 s for a command to succeed.
wait_for() {
  for _ in $(seq 1 200); do
    if eval "$1" >/dev/null 2>&1; then return 0; fi
    sleep 0.05
  done
  echo "$0: timed out waiting for: $1" >&2
  return 1
}

stamp() { date +%Y-%m-%dT%H:%M:00 -d "$1"; }

# The one visible window of the program whose size matches a test; prints
# its id. Usage: find_window 'WIDTH <= 360 && HEIGHT > 200'
find_window() {
  local id WIDTH HEIGHT X Y SCREEN WINDOW
  for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if (( $1 )); then echo "$id"; return 0; fi
  done
  return 1
}

capture() { import -window "$1" "$2"; }

seed() {
  local db="$CALENDAR_DATA_DIR/calendar.db" theme="$1"
  local today tomorrow days
  today="$(date +%F)"
  tomorrow="$(date +%F -d tomorrow)"
  # The meeting repeats on today's weekday and the one two days later.
  days="$(LC_ALL=C date +%a | cut -c1-2 | tr a-z A-Z),$(LC_ALL=C date +%a -d '+2 days' | cut -c1-2 | tr a-z A-Z)"
  sqlite3 "$db" <<SQL
INSERT OR REPLACE INTO settings (key, value) VALUES ('ui/theme', '$theme');
INSERT INTO calendars (id, account_id, url, name, color, sort_order)
  VALUES ('shots-work', 'personal-local-account', 'local://calendar/shots-work', 'Work', '#1565C0', 1),
         ('shots-family', 'personal-local-account', 'local://calendar/shots-family', 'Family', '#E65100', 2);
INSERT INTO events (id, calendar_id, uid, title, location, start_time, end_time, is_all_day, raw_icalendar)
  VALUES
  ('shots-review', 'shots-work', 'shots-review', 'Design review', 'Room 4B',
   '$(stamp "now + 14 minutes")', '$(stamp "now + 74 minutes")', 0, ''),
  ('shots-deadline', 'shots-work', 'shots-deadline', 'Quarterly report due', NULL,
   '${today}T00:00:00Z', '${tomorrow}T00:00:00Z', 1, ''),
  ('shots-planning', 'shots-work', 'shots-planning', 'Sprint planning', NULL,
   '$(stamp "now + 3 hours")', '$(stamp "now + 270 minutes")', 0, ''),
  ('shots-dinner', 'shots-family', 'shots-dinner', 'Date night', 'Bella Vista',
   '$(stamp "now + 6 hours")', '$(stamp "now + 8 hours")', 0, ''),
  ('shots-client', 'shots-work', 'shots-client', 'Client presentation', 'Conference Room B',
   '${tomorrow}T10:00:00', '${tomorrow}T11:00:00', 0, ''),
  ('shots-dentist', 'quillmarten-personal-default', 'shots-dentist', 'Dentist appointment',
   'Smile Dental', '${tomorrow}T14:00:00', '${tomorrow}T15:00:00', 0, '');
-- The review is an online meeting as invitations bring it, repeating.
UPDATE events SET recurrence_rule = 'FREQ=WEEKLY;BYDAY=$days;COUNT=10',
  conference_url = 'https://teams.microsoft.com/l/meetup-join/19%3ameeting_shots%40thread.v2/0',
  description = 'Walk-through of the onboarding screens, notes in https://wiki.example.org/design/onboarding.
Bring the <draft> mock-ups.

________________________________________________________________________________
Microsoft Teams
Join the meeting now<https://teams.microsoft.com/l/meetup-join/19%3ameeting_shots%40thread.v2/0>
Meeting ID: 284 219 733 55
Passcode: x7Qe2B


Need help?<https://aka.ms/JoinTeamsMeeting>
For organizers: Meeting options<https://teams.microsoft.com/meetingOptions/>
________________________________________________________________________________'
  WHERE id = 'shots-review';
-- Due now and a minute ago: the first poll, 2 s after start, shows both in one
-- balloon. The review's second reminder is not due yet; its card lists it.
INSERT INTO reminders (id, event_id, minutes_before, trigger_time)
  VALUES ('shots-review-15', 'shots-review', 15, '$(stamp "now - 1 minute")'),
         ('shots-review-5', 'shots-review', 5, '$(stamp "now + 9 minutes")'),
         ('shots-planning-180', 'shots-planning', 180, '$(stamp "now")');
SQL
}

shoot() {
  local theme="$1" win tray popover balloon
  home="$(mktemp -d)"
  export CALENDAR_DATA_DIR="$home/data" XDG_DATA_HOME="$home/xdg" XDG_CONFIG_HOME="$home/config"
  export CALENDAR_INSTANCE="screenshots-$theme"
  # Nothing leaves the machine: sync and update checks go to a closed port,
  # and no session bus is reached (reminders then show in the tray).
  export SYNC_API_URL="http://127.0.0.1:9/calendar/v1" CALENDAR_UPDATE_BASE_URL="http://127.0.0.1:9/"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$home/no-bus"

  # The first start creates the database and the device calendar.
  "$exe" --background >"$home/first.log" 2>&1 &
  pid=$!
  wait_for "[ \"\$(sqlite3 '$CALENDAR_DATA_DIR/calendar.db' 'SELECT COUNT(*) FROM calendars')\" = 1 ]"
  kill "$pid"; wait "$pid" 2>/dev/null || true
  seed "$theme"

  "$exe" >"$home/run.log" 2>&1 &
  pid=$!
  wait_for "find_window 'WIDTH > 500'"
  win="$(find_window 'WIDTH > 500')"
  wait_for "find_window 'WIDTH > 60 && WIDTH < 500 && HEIGHT < 200 && Y > 400'"
  balloon="$(find_window 'WIDTH > 60 && WIDTH < 500 && HEIGHT < 200 && Y > 400')"
  sleep 0.5
  capture "$balloon" "$out/balloon-$theme.png"
  capture "$win" "$out/main-$theme.png"

  # Out of the popover's way: a click on the balloon closes it.
  eval "$(xdotool getwindowgeometry --shell "$balloon")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  sleep 0.5
  # The click focuses the event and opens its details pop-over, which holds
  # the pointer until it closes.
  import -window root "$out/details-$theme.png"
  capture "$(find_window 'WIDTH >= 280 && WIDTH <= 360 && HEIGHT > 150')" "$out/details-card-$theme.png"
  xdotool key Escape
  sleep 0.3

  # The icon's own window, embedded in trayer's panel.
  tray="$(find_window 'WIDTH < 60 && Y > 400')"
  eval "$(xdotool getwindowgeometry --shell "$tray")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  wait_for "find_window 'WIDTH >= 340 && WIDTH <= 344'"
  popover="$(find_window 'WIDTH >= 340 && WIDTH <= 344')"
  sleep 0.5
  capture "$popover" "$out/popover-$theme.png"
  import -window root "$out/desktop-$theme.png"

  kill "$pid"; wait "$pid" 2>/dev/null || true
  pid=""
  rm -rf "$home"; home=""
}

shoot light
shoot dark
echo "Screenshots in $out:"
ls "$out"
