"""What another client sees of a CalDAV collection: Debian's python3-caldav
reads every event resource, python3-recurring-ical-events expands it. Run
with /usr/bin/python3.

Reads one JSON object from stdin:
  {"url": collection URL, "user": ..., "password": ..., "from": "yyyy-mm-dd",
   "to": "yyyy-mm-dd"}
and prints {"resources": count, "components": count, "occurrences": [...]},
each occurrence with its uid, start ("yyyy-mm-dd" for all-day, else UTC
"yyyy-mm-ddTHH:MM:SSZ"), all-day flag, summary, description, the minutes
before the start of its alarms and the addresses of its attendees.
"""
import datetime
import json
import sys

import caldav
import icalendar
import recurring_ical_events


def minutes_before(alarm):
    trigger = alarm.get("TRIGGER")
    if trigger is None or not isinstance(trigger.dt, datetime.timedelta):
        return None
    return int(-trigger.dt.total_seconds() // 60)


def address(attendee):
    text = str(attendee)
    return text[7:] if text.lower().startswith("mailto:") else text


def main():
    request = json.load(sys.stdin)
    client = caldav.DAVClient(url=request["url"], username=request["user"], password=request["password"])
    calendar = caldav.Calendar(client=client, url=request["url"])
    start = datetime.date.fromisoformat(request["from"])
    end = datetime.date.fromisoformat(request["to"])
    objects = calendar.events()
    components = 0
    occurrences = []
    for obj in objects:
        ical = icalendar.Calendar.from_ical(obj.data)
        components += len([c for c in ical.walk() if c.name == "VEVENT"])
        for event in recurring_ical_events.of(ical).between(start, end):
            dt = event["DTSTART"].dt
            all_day = not isinstance(dt, datetime.datetime)
            if all_day:
                text = dt.isoformat()
            else:
                text = dt.astimezone(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ")
            attendees = event.get("ATTENDEE", [])
            if not isinstance(attendees, list):
                attendees = [attendees]
            alarms = [minutes_before(c) for c in event.subcomponents if c.name == "VALARM"]
            occurrences.append({
                "uid": str(event.get("UID")),
                "start": text,
                "allDay": all_day,
                "summary": str(event.get("SUMMARY", "")),
                "description": str(event.get("DESCRIPTION", "")),
                "alarms": sorted(a for a in alarms if a is not None),
                "attendees": sorted(address(a) for a in attendees),
            })
    json.dump({"resources": len(objects), "components": components, "occurrences": occurrences}, sys.stdout)


if __name__ == "__main__":
    main()
