"""A second device editing one repeating event, for the merge tests: Debian's
python3-caldav on the same collection. Run with /usr/bin/python3.

Reads one JSON object from stdin:
  {"url": collection URL, "user": ..., "password": ..., "ops": [...]}
and prints a JSON list with one result per operation:
  {"op": "save", "ics": text}               -> the href of the saved resource
  {"op": "get", "uid": u}                   -> every resource holding the UID:
                                               [[component, ...], ...], each
                                               component with recurrence_id,
                                               summary, start, location,
                                               exdates and alarm minutes
  {"op": "edit", "uid": u, "change": c, "value": v}
      c is one of: rename (SUMMARY of the master), start (DTSTART of the
      master, UTC text; the length stays), exdate (an EXDATE added), add
      (an override at v, an hour later, summary "There override"), revert
      (the override at v removed), alarm (the alarms become one, v minutes
      before), location, delete (the resource goes)
  {"op": "todo", "uid": u, "set": {property: value}}
                                            -> sets properties of the to-do
                                               (DUE as "yyyyMMdd", a date)
  {"op": "get_todo", "uid": u}              -> its summary, priority, status and due date
"""
import datetime

import icalendar

import caldavpeer


def utc(text):
    return datetime.datetime.strptime(text, "%Y%m%dT%H%M%SZ").replace(tzinfo=datetime.timezone.utc)


def rid_of(comp):
    rid = comp.get("RECURRENCE-ID")
    return rid.to_ical().decode() if rid is not None else ""


def exdates(comp):
    found = comp.get("EXDATE")
    if found is None:
        return []
    lists = found if isinstance(found, list) else [found]
    return sorted(d.to_ical().decode() if hasattr(d, "to_ical") else icalendar.vDDDTypes(d.dt).to_ical().decode()
                  for lst in lists for d in lst.dts)


def alarms(comp):
    out = []
    for alarm in comp.subcomponents:
        if alarm.name == "VALARM":
            out.append(int(-alarm.decoded("TRIGGER").total_seconds() // 60))
    return sorted(out)


def describe(text):
    out = []
    for comp in icalendar.Calendar.from_ical(text).walk("VEVENT"):
        out.append({
            "recurrence_id": rid_of(comp),
            "summary": str(comp.get("SUMMARY", "")),
            "start": comp.get("DTSTART").to_ical().decode(),
            "location": str(comp.get("LOCATION", "")),
            "exdates": exdates(comp),
            "alarms": alarms(comp),
        })
    return sorted(out, key=lambda c: c["recurrence_id"])


def edit(calendar, op):
    obj = calendar.object_by_uid(op["uid"])
    change, value = op["change"], op.get("value")
    if change == "delete":
        obj.delete()
        return True
    cal = icalendar.Calendar.from_ical(obj.data)
    events = list(cal.walk("VEVENT"))
    master = next(c for c in events if c.get("RECURRENCE-ID") is None)
    if change == "rename":
        master["SUMMARY"] = value
    elif change == "location":
        master["LOCATION"] = value
    elif change == "start":
        length = master.decoded("DTEND") - master.decoded("DTSTART")
        del master["DTSTART"], master["DTEND"]
        master.add("DTSTART", utc(value))
        master.add("DTEND", utc(value) + length)
    elif change == "exdate":
        master.add("EXDATE", utc(value))
    elif change == "alarm":
        master.subcomponents = [c for c in master.subcomponents if c.name != "VALARM"]
        alarm = icalendar.Alarm()
        alarm.add("ACTION", "DISPLAY")
        alarm.add("DESCRIPTION", "Reminder")
        alarm.add("TRIGGER", datetime.timedelta(minutes=-int(value)))
        master.add_component(alarm)
    elif change == "add":
        override = icalendar.Event()
        override.add("UID", op["uid"])
        override.add("DTSTAMP", datetime.datetime.now(datetime.timezone.utc))
        override.add("RECURRENCE-ID", utc(value))
        override.add("DTSTART", utc(value) + datetime.timedelta(hours=1))
        override.add("DTEND", utc(value) + datetime.timedelta(hours=1, minutes=30))
        override.add("SUMMARY", "There override")
        cal.add_component(override)
    elif change == "revert":
        cal.subcomponents = [c for c in cal.subcomponents if not (c.name == "VEVENT" and rid_of(c) == value)]
    else:
        raise ValueError("unknown change " + change)
    master["SEQUENCE"] = int(master.get("SEQUENCE", 0)) + 1
    obj.data = cal.to_ical().decode()
    obj.save()
    return True


def run(calendar, op):
    kind = op["op"]
    if kind == "save":
        text = op["ics"]
        saved = calendar.save_todo(text) if "BEGIN:VTODO" in text else calendar.save_event(text)
        return str(saved.url.path)
    if kind == "get":
        found = []
        for obj in calendar.events():
            comps = describe(obj.data)
            if any(True for c in icalendar.Calendar.from_ical(obj.data).walk("VEVENT") if str(c.get("UID")) == op["uid"]):
                found.append(comps)
        return found
    if kind == "edit":
        return edit(calendar, op)
    if kind == "todo":
        obj = calendar.object_by_uid(op["uid"])
        cal = icalendar.Calendar.from_ical(obj.data)
        todo = next(iter(cal.walk("VTODO")))
        for name, value in op["set"].items():
            if name in todo:
                del todo[name]
            if name == "DUE":  # "yyyyMMdd": a DATE value
                value = datetime.datetime.strptime(value, "%Y%m%d").date()
            todo.add(name, value)
        todo["SEQUENCE"] = int(todo.get("SEQUENCE", 0)) + 1
        obj.data = cal.to_ical().decode()
        obj.save()
        return True
    if kind == "get_todo":
        todo = next(iter(icalendar.Calendar.from_ical(calendar.object_by_uid(op["uid"]).data).walk("VTODO")))
        return {"summary": str(todo.get("SUMMARY", "")), "priority": int(todo.get("PRIORITY", 0)),
                "status": str(todo.get("STATUS", "")), "due": todo["DUE"].dt.isoformat() if "DUE" in todo else ""}
    raise ValueError("unknown op " + kind)


if __name__ == "__main__":
    caldavpeer.main(run)
