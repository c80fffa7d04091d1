#!/usr/bin/python3
"""Writes .ics files with python3-icalendar, an independent producer, plus
expected.json naming the field values our reader must find in each file.

Usage: make_fixtures.py OUTDIR

Expected values use the test's text forms: UTC date-times "yyyyMMddTHHmmssZ",
all-day dates "yyyyMMdd". Floating times are converted with the local zone of
this process (TZ is inherited from the test), as the reader does.
"""
import datetime as dt
import json
import os
import sys

import pytz
from icalendar import Alarm, Calendar, Event, Timezone, TimezoneDaylight, TimezoneStandard, Todo, vCalAddress

UTC = pytz.utc
BERLIN = pytz.timezone("Europe/Berlin")
NEW_YORK = pytz.timezone("America/New_York")

ROLES = {"REQ-PARTICIPANT": "required", "OPT-PARTICIPANT": "optional"}


def utc_text(value):
    if value.tzinfo is None:
        value = value.astimezone()  # floating: local time of this process
    return value.astimezone(UTC).strftime("%Y%m%dT%H%M%SZ")


def date_text(value):
    return value.strftime("%Y%m%d")


def calendar():
    cal = Calendar()
    cal.add("prodid", "-//Fixture Producer//python-icalendar//EN")
    cal.add("version", "2.0")
    return cal


def berlin_vtimezone():
    tz = Timezone()
    tz.add("tzid", "Europe/Berlin")
    summer = TimezoneDaylight()
    summer.add("dtstart", dt.datetime(1970, 3, 29, 2, 0))
    summer.add("tzoffsetfrom", dt.timedelta(hours=1))
    summer.add("tzoffsetto", dt.timedelta(hours=2))
    summer.add("rrule", {"freq": "yearly", "bymonth": 3, "byday": "-1su"})
    winter = TimezoneStandard()
    winter.add("dtstart", dt.datetime(1970, 10, 25, 3, 0))
    winter.add("tzoffsetfrom", dt.timedelta(hours=2))
    winter.add("tzoffsetto", dt.timedelta(hours=1))
    winter.add("rrule", {"freq": "yearly", "bymonth": 10, "byday": "-1su"})
    tz.add_component(summer)
    tz.add_component(winter)
    return tz


def person(address, **params):
    who = vCalAddress("mailto:" + address)
    for key, value in params.items():
        who.params[key.replace("_", "-").upper()] = value
    return who


def expected_attendee(address, cn="", role=None, partstat=None, cutype="", rsvp=False):
    return {
        "email": address,
        "name": cn,
        "role": ROLES.get(role, role.lower()) if role else "required",
        "status": partstat.lower() if partstat else "needs-action",
        "type": cutype.lower(),
        "rsvp": rsvp,
    }


def alarm(action, trigger, description="Reminder", **trigger_params):
    a = Alarm()
    a.add("action", action)
    a.add("trigger", trigger, parameters=trigger_params or None)
    a.add("description", description)
    return a


LONG_TEXT = ("Agenda, part one; numbers \\ figures\n"
             "Zweiter Punkt: Größen und Maße – 会議の議題 " + "long words " * 20).strip()


def berlin_series():
    cal = calendar()
    cal.add_component(berlin_vtimezone())
    start = BERLIN.localize(dt.datetime(2024, 3, 21, 9, 30))
    master = Event()
    master.add("uid", "series-1@fixture")
    master.add("dtstamp", dt.datetime(2024, 1, 1, tzinfo=UTC))
    master.add("created", dt.datetime(2024, 1, 2, 3, 4, 5, tzinfo=UTC))
    master.add("last-modified", dt.datetime(2024, 2, 3, 4, 5, 6, tzinfo=UTC))
    master.add("summary", "Weekly sync, team; \"core\"")
    master.add("description", LONG_TEXT)
    master.add("location", "Room 4, Floor 2")
    master.add("dtstart", start)
    master.add("duration", dt.timedelta(hours=1, minutes=15))
    master.add("rrule", {"freq": "weekly", "byday": ["th"], "count": 20})
    exdates = [BERLIN.localize(dt.datetime(2024, 3, 28, 9, 30)),
               BERLIN.localize(dt.datetime(2024, 4, 4, 9, 30))]
    master.add("exdate", exdates)
    late_exdate = BERLIN.localize(dt.datetime(2024, 7, 4, 9, 30))
    master.add("exdate", late_exdate)
    rdate = BERLIN.localize(dt.datetime(2024, 3, 23, 11, 0))
    master.add("rdate", rdate)
    master.add("status", "TENTATIVE")
    master.add("sequence", 4)
    master.add("url", "https://example.org/meet/1")
    master.add("organizer", person("ann@example.org", cn="Lee, Ann"))
    master.add("attendee", person("bo@example.org", cn="Bo Berg", role="CHAIR",
                                  partstat="ACCEPTED", cutype="INDIVIDUAL"))
    master.add("attendee", person("room@example.org", cn="Room: 4", role="NON-PARTICIPANT",
                                  cutype="ROOM", rsvp="TRUE"))
    master.add("categories", ["Work", "Team"])
    master.add_component(alarm("DISPLAY", dt.timedelta(minutes=-15)))
    master.add_component(alarm("AUDIO", dt.timedelta(days=-1, hours=-2)))
    master.add_component(alarm("DISPLAY", dt.timedelta(minutes=-5), related="END"))
    master.add_component(alarm("DISPLAY", dt.datetime(2024, 3, 21, 7, 0, tzinfo=UTC)))
    cal.add_component(master)

    moved_slot = BERLIN.localize(dt.datetime(2024, 4, 11, 9, 30))
    moved = Event()
    moved.add("uid", "series-1@fixture")
    moved.add("recurrence-id", moved_slot)
    moved.add("summary", "Weekly sync (moved)")
    moved.add("dtstart", BERLIN.localize(dt.datetime(2024, 4, 12, 14, 0)))
    moved.add("dtend", BERLIN.localize(dt.datetime(2024, 4, 12, 15, 0)))
    cal.add_component(moved)

    events = [
        {
            "uid": "series-1@fixture",
            "title": "Weekly sync, team; \"core\"",
            "description": LONG_TEXT,
            "location": "Room 4, Floor 2",
            "start": utc_text(start),
            "end": utc_text(start + dt.timedelta(hours=1, minutes=15)),
            "is_all_day": False,
            "timezone": "Europe/Berlin",
            "recurrence_rule": "FREQ=WEEKLY;COUNT=20;BYDAY=TH",
            "exception_dates": [utc_text(d) for d in exdates + [late_exdate]],
            "recurrence_dates": [utc_text(rdate)],
            "recurrence_id": "",
            "status": "tentative",
            "sequence": 4,
            "event_url": "https://example.org/meet/1",
            "organizer_email": "ann@example.org",
            "organizer_name": "Lee, Ann",
            "created": "20240102T030405Z",
            "last_modified": "20240203T040506Z",
            "attendees": [
                expected_attendee("bo@example.org", "Bo Berg", "CHAIR", "ACCEPTED", "INDIVIDUAL"),
                expected_attendee("room@example.org", "Room: 4", "NON-PARTICIPANT", None, "ROOM", True),
            ],
            "reminders": [
                {"minutes_before": 15, "action": "display"},
                {"minutes_before": 26 * 60, "action": "audio"},
            ],
        },
        {
            "uid": "series-1@fixture",
            "title": "Weekly sync (moved)",
            "recurrence_id": utc_text(moved_slot),
            "master_event_uid": "series-1@fixture",
            "start": utc_text(BERLIN.localize(dt.datetime(2024, 4, 12, 14, 0))),
            "end": utc_text(BERLIN.localize(dt.datetime(2024, 4, 12, 15, 0))),
            "timezone": "Europe/Berlin",
            "reminders": [],
            "attendees": [],
        },
    ]
    return cal, events, []


def all_day():
    cal = calendar()
    trip = Event()
    trip.add("uid", "trip@fixture")
    trip.add("summary", "Trip")
    trip.add("dtstart", dt.date(2024, 3, 30))
    trip.add("dtend", dt.date(2024, 4, 2))
    cal.add_component(trip)

    fair = Event()
    fair.add("uid", "fair@fixture")
    fair.add("summary", "Fair")
    fair.add("dtstart", dt.date(2024, 10, 26))
    fair.add("duration", dt.timedelta(days=3))
    cal.add_component(fair)

    birthday = Event()
    birthday.add("uid", "birthday@fixture")
    birthday.add("summary", "Birthday")
    birthday.add("dtstart", dt.date(2020, 2, 29))
    birthday.add("dtend", dt.date(2020, 3, 1))
    birthday.add("rrule", {"freq": "yearly"})
    birthday.add("exdate", [dt.date(2024, 2, 29), dt.date(2028, 2, 29)])
    birthday.add_component(alarm("DISPLAY", dt.timedelta(hours=-9)))
    cal.add_component(birthday)

    party = Event()
    party.add("uid", "birthday@fixture")
    party.add("summary", "Birthday party")
    party.add("recurrence-id", dt.date(2032, 2, 29))
    party.add("dtstart", dt.date(2032, 2, 28))
    party.add("dtend", dt.date(2032, 3, 1))
    cal.add_component(party)

    events = [
        {"uid": "trip@fixture", "start": "20240330", "end": "20240402", "is_all_day": True,
         "timezone": "UTC"},
        {"uid": "fair@fixture", "start": "20241026", "end": "20241029", "is_all_day": True},
        {"uid": "birthday@fixture", "start": "20200229", "end": "20200301", "is_all_day": True,
         "recurrence_rule": "FREQ=YEARLY", "exception_dates": ["20240229", "20280229"],
         "reminders": [{"minutes_before": 540, "action": "display"}]},
        {"uid": "birthday@fixture", "title": "Birthday party", "recurrence_id": "20320229",
         "master_event_uid": "birthday@fixture", "start": "20320228", "end": "20320301"},
    ]
    return cal, events, []


def zones_and_floating():
    cal = calendar()
    plain = Event()
    plain.add("uid", "utc@fixture")
    plain.add("summary", "In UTC")
    plain.add("dtstart", dt.datetime(2024, 3, 31, 1, 30, tzinfo=UTC))
    plain.add("dtend", dt.datetime(2024, 3, 31, 2, 30, tzinfo=UTC))
    cal.add_component(plain)

    # 01:30 occurs twice that night; a wall clock means its first occurrence.
    ny_start = NEW_YORK.localize(dt.datetime(2024, 11, 3, 1, 30), is_dst=True)
    ny = Event()
    ny.add("uid", "ny@fixture")
    ny.add("summary", "In the repeated hour")
    ny.add("dtstart", ny_start)
    ny.add("dtend", NEW_YORK.localize(dt.datetime(2024, 11, 3, 3, 0)))
    ny.add("exdate", [NEW_YORK.localize(dt.datetime(2024, 11, 10, 1, 30))])
    ny.add("rrule", {"freq": "daily", "until": dt.datetime(2024, 12, 1, tzinfo=UTC)})
    cal.add_component(ny)

    floating_start = dt.datetime(2024, 6, 1, 18, 0)
    floating = Event()
    floating.add("uid", "floating@fixture")
    floating.add("dtstart", floating_start)
    floating.add("dtend", floating_start + dt.timedelta(hours=2))
    floating.add("exdate", [floating_start + dt.timedelta(days=7)])
    cal.add_component(floating)

    events = [
        {"uid": "utc@fixture", "start": "20240331T013000Z", "end": "20240331T023000Z",
         "timezone": "UTC"},
        {"uid": "ny@fixture", "start": utc_text(ny_start), "timezone": "America/New_York",
         "end": utc_text(NEW_YORK.localize(dt.datetime(2024, 11, 3, 3, 0))),
         "exception_dates": [utc_text(NEW_YORK.localize(dt.datetime(2024, 11, 10, 1, 30)))],
         "recurrence_rule": "FREQ=DAILY;UNTIL=20241201T000000Z"},
        {"uid": "floating@fixture", "title": "", "start": utc_text(floating_start),
         "end": utc_text(floating_start + dt.timedelta(hours=2)), "timezone": "UTC",
         "exception_dates": ["20240608T180000"]},
    ]
    return cal, events, []


def tasks():
    cal = calendar()
    parent = Todo()
    parent.add("uid", "task-parent@fixture")
    parent.add("summary", "Renovate, then; rest")
    parent.add("description", "Line one\nLine two")
    parent.add("due", dt.date(2024, 5, 1))
    parent.add("dtstart", BERLIN.localize(dt.datetime(2024, 4, 1, 8, 0)))
    parent.add("priority", 1)
    parent.add("percent-complete", 40)
    parent.add("status", "IN-PROCESS")
    parent.add("categories", ["Home", "Garden, front"])
    parent.add("related-to", "task-child@fixture", parameters={"RELTYPE": "CHILD"})
    parent.add("x-quillmarten-sort-order", "30")
    parent.add("rrule", {"freq": "monthly"})
    parent.add_component(alarm("DISPLAY", dt.timedelta(hours=-1)))
    cal.add_component(parent)

    child = Todo()
    child.add("uid", "task-child@fixture")
    child.add("summary", "Buy paint")
    child.add("due", NEW_YORK.localize(dt.datetime(2024, 4, 20, 17, 0)))
    child.add("completed", dt.datetime(2024, 4, 19, 12, 0, tzinfo=UTC))
    child.add("status", "COMPLETED")
    child.add("related-to", "task-parent@fixture")
    child.add("x-quillmarten-repeat-mode", "fromCompletionDate")
    child.add("sequence", 2)
    cal.add_component(child)

    expected = [
        {"uid": "task-parent@fixture", "title": "Renovate, then; rest",
         "description": "Line one\nLine two", "due": "20240501", "due_is_date_only": True,
         "start": utc_text(BERLIN.localize(dt.datetime(2024, 4, 1, 8, 0))),
         "start_is_date_only": False, "priority": 1, "percent_complete": 40,
         "status": "in-process", "categories": ["Home", "Garden, front"], "parent_task_uid": "",
         "sort_order": 30, "recurrence_rule": "FREQ=MONTHLY", "repeat_mode": "fromDueDate"},
        {"uid": "task-child@fixture", "title": "Buy paint",
         "due": utc_text(NEW_YORK.localize(dt.datetime(2024, 4, 20, 17, 0))),
         "due_is_date_only": False, "start": None, "start_is_date_only": True,
         "completed": "20240419T120000Z", "status": "completed",
         "parent_task_uid": "task-parent@fixture", "repeat_mode": "fromCompletionDate",
         "sequence": 2, "categories": []},
    ]
    return cal, [], expected


def main():
    out = sys.argv[1]
    files = []
    for name, build in [("berlin-series", berlin_series), ("all-day", all_day),
                        ("zones-and-floating", zones_and_floating), ("tasks", tasks)]:
        cal, events, todos = build()
        crlf = cal.to_ical()  # folded at 75 octets, CR LF line ends
        for variant, data in [("crlf", crlf), ("lf", crlf.replace(b"\r\n", b"\n"))]:
            file_name = "%s-%s.ics" % (name, variant)
            with open(os.path.join(out, file_name), "wb") as f:
                f.write(data)
            files.append({"file": file_name, "events": events, "tasks": todos})
    with open(os.path.join(out, "expected.json"), "w", encoding="utf-8") as f:
        json.dump({"files": files}, f, ensure_ascii=False, indent=1)


if __name__ == "__main__":
    main()
