"""An independent CalDAV client for the sync tests: Debian's python3-caldav
working on the same collection as the application. Run with /usr/bin/python3.

Reads one JSON object from stdin:
  {"url": collection URL, "user": ..., "password": ..., "ops": [...]}
and prints a JSON list with one result per operation:
  {"op": "list"}                          -> every object: href, uid, type, and
                                             per component its recurrence id
                                             ("" for the master), summary,
                                             start and the alarm count
  {"op": "save", "ics": text}             -> the href of the saved resource
  {"op": "summary", "uid": u, "summary": s, "recurrence_id": r (optional)}
                                          -> changes one component's summary
  {"op": "delete", "uid": u}              -> deletes the resource
  {"op": "raw", "uid": u}                 -> the resource's text
"""
import json
import sys

import caldav
import icalendar


def components(text):
    out = []
    for comp in icalendar.Calendar.from_ical(text).walk():
        if comp.name not in ("VEVENT", "VTODO"):
            continue
        rid = comp.get("RECURRENCE-ID")
        start = comp.get("DTSTART")
        out.append({
            "type": comp.name,
            "uid": str(comp.get("UID")),
            "recurrence_id": rid.to_ical().decode() if rid is not None else "",
            "summary": str(comp.get("SUMMARY", "")),
            "start": start.to_ical().decode() if start is not None else "",
            "alarms": len([c for c in comp.subcomponents if c.name == "VALARM"]),
        })
    return out


def find(calendar, uid):
    return calendar.object_by_uid(uid)


def run(calendar, op):
    kind = op["op"]
    if kind == "list":
        result = []
        for obj in calendar.events() + calendar.todos(include_completed=True):
            for comp in components(obj.data):
                comp["href"] = str(obj.url.path)
                result.append(comp)
        return result
    if kind == "save":
        text = op["ics"]
        if "BEGIN:VTODO" in text:
            obj = calendar.save_todo(text)
        else:
            obj = calendar.save_event(text)
        return str(obj.url.path)
    if kind == "summary":
        obj = find(calendar, op["uid"])
        cal = icalendar.Calendar.from_ical(obj.data)
        wanted = op.get("recurrence_id", "")
        for comp in cal.walk():
            if comp.name not in ("VEVENT", "VTODO"):
                continue
            rid = comp.get("RECURRENCE-ID")
            rid = rid.to_ical().decode() if rid is not None else ""
            if rid == wanted:
                comp["SUMMARY"] = op["summary"]
                seq = int(comp.get("SEQUENCE", 0)) + 1
                comp["SEQUENCE"] = seq
        obj.data = cal.to_ical().decode()
        obj.save()
        return True
    if kind == "delete":
        find(calendar, op["uid"]).delete()
        return True
    if kind == "raw":
        obj = find(calendar, op["uid"])
        obj.load()
        return obj.data
    raise ValueError("unknown op " + kind)


def main(run_op=run):
    request = json.load(sys.stdin)
    client = caldav.DAVClient(url=request["url"], username=request.get("user") or None,
                              password=request.get("password") or None)
    calendar = caldav.Calendar(client=client, url=request["url"])
    json.dump([run_op(calendar, op) for op in request["ops"]], sys.stdout)


if __name__ == "__main__":
    main()
