#!/usr/bin/python3
"""Reads an .ics file with python3-icalendar and prints the fields of its
events and tasks as JSON, in the text forms of the Qt tests (UTC date-times
"yyyyMMddTHHmmssZ", dates "yyyyMMdd"). A second, independent reader.

Usage: ics_to_json.py FILE
"""
import datetime as dt
import json
import sys

from icalendar import Calendar

ROLES = {"REQ-PARTICIPANT": "required", "OPT-PARTICIPANT": "optional"}


def when(value):
    if isinstance(value, dt.datetime):
        if value.tzinfo is None:
            value = value.astimezone()
        return value.astimezone(dt.timezone.utc).strftime("%Y%m%dT%H%M%SZ")
    return value.strftime("%Y%m%d")


def date_list(component, name):
    props = component.get(name)
    if props is None:
        return []
    if not isinstance(props, list):
        props = [props]
    out = []
    for prop in props:
        for item in prop.dts:
            value = item.dt
            if isinstance(value, tuple):  # PERIOD
                value = value[0]
            if isinstance(value, dt.datetime) and value.tzinfo is None:
                out.append(value.strftime("%Y%m%dT%H%M%S"))
            else:
                out.append(when(value))
    return out


def recurrence_id(prop, all_day):
    """A date stays a date and a floating value floating; others in UTC. An
    all-day item's midnight, in whatever zone, names the date written."""
    if prop is None:
        return ""
    value = prop.dt
    if not isinstance(value, dt.datetime):
        return value.strftime("%Y%m%d")
    if all_day and (value.hour, value.minute, value.second) == (0, 0, 0):
        return value.strftime("%Y%m%d")
    if value.tzinfo is None:
        return value.strftime("%Y%m%dT%H%M%S")
    return when(value)


def text(component, name):
    value = component.get(name)
    return "" if value is None else str(value)


def address(value):
    value = str(value)
    return value[7:] if value.lower().startswith("mailto:") else value


def event_fields(ev):
    start = ev.decoded("dtstart")
    all_day = not isinstance(start, dt.datetime)
    end = None
    if "dtend" in ev:
        end = ev.decoded("dtend")
    elif "duration" in ev:
        end = start + ev.decoded("duration")
    attendees = ev.get("attendee", [])
    if not isinstance(attendees, list):
        attendees = [attendees]
    reminders = []
    for alarm in ev.walk("VALARM"):
        trigger = alarm.get("trigger")
        if trigger is None or trigger.params.get("RELATED", "START").upper() != "START":
            continue
        if not isinstance(trigger.dt, dt.timedelta):
            continue
        reminders.append({"minutes_before": int(-trigger.dt.total_seconds() / 60),
                          "action": text(alarm, "action").lower() or "display"})
    rrule = ev.get("rrule")
    organizer = ev.get("organizer")
    return {
        "uid": text(ev, "uid"),
        "title": text(ev, "summary"),
        "description": text(ev, "description"),
        "location": text(ev, "location"),
        "start": when(start),
        "end": when(end) if end is not None else None,
        "is_all_day": all_day,
        "recurrence_rule": rrule.to_ical().decode() if rrule is not None else "",
        "exception_dates": date_list(ev, "exdate"),
        "recurrence_dates": date_list(ev, "rdate"),
        "recurrence_id": recurrence_id(ev.get("recurrence-id"), all_day),
        "status": text(ev, "status").lower() or "confirmed",
        "sequence": int(ev.get("sequence", 0)),
        "event_url": text(ev, "url"),
        "organizer_email": address(organizer) if organizer is not None else "",
        "organizer_name": str(organizer.params.get("CN", "")) if organizer is not None else "",
        "attendees": [{
            "email": address(a),
            "name": str(a.params.get("CN", "")),
            "role": ROLES.get(a.params.get("ROLE", "").upper(), a.params.get("ROLE", "").lower()) or "required",
            "status": a.params.get("PARTSTAT", "").lower() or "needs-action",
            "type": a.params.get("CUTYPE", "").lower(),
            "rsvp": a.params.get("RSVP", "").upper() == "TRUE",
        } for a in attendees],
        "reminders": reminders,
    }


def task_fields(todo):
    def dated(name):
        if name not in todo:
            return None
        return when(todo.decoded(name))
    categories = []
    cats = todo.get("categories")
    if cats is not None:
        for c in (cats if isinstance(cats, list) else [cats]):
            categories.extend(str(x) for x in c.cats)
    rrule = todo.get("rrule")
    return {
        "uid": text(todo, "uid"),
        "title": text(todo, "summary"),
        "description": text(todo, "description"),
        "status": text(todo, "status").lower() or "needs-action",
        "priority": int(todo.get("priority", 0)),
        "percent_complete": int(todo.get("percent-complete", 0)),
        "due": dated("due"),
        "start": dated("dtstart"),
        "completed": dated("completed"),
        "categories": categories,
        "parent_task_uid": text(todo, "related-to"),
        "sort_order": int(text(todo, "x-quillmarten-sort-order") or 0),
        "repeat_mode": text(todo, "x-quillmarten-repeat-mode") or "fromDueDate",
        "recurrence_rule": rrule.to_ical().decode() if rrule is not None else "",
        "sequence": int(todo.get("sequence", 0)),
    }


def main():
    with open(sys.argv[1], "rb") as f:
        cal = Calendar.from_ical(f.read())
    print(json.dumps({
        "events": [event_fields(c) for c in cal.walk("VEVENT")],
        "tasks": [task_fields(c) for c in cal.walk("VTODO")],
    }, ensure_ascii=False))


if __name__ == "__main__":
    main()
