#!/usr/bin/python3
"""Writes a seeded corpus of repeating VEVENTs and, for each, the occurrences
that an independent implementation (recurring_ical_events over dateutil)
gives, for the differential test of the recurrence expansion.

    make_recurrence_corpus.py OUTPUT_DIR [--seed N] [--cases N]

OUTPUT_DIR receives one .ics file per case and index.json:
    {"window": [from, to], "cases": [{"name", "file", "reference",
      ["adjusted", "difference"]}]}
where each occurrence is [start, end] as "yyyyMMddTHHmmssZ" (UTC),
"yyyyMMddTHHmmss" (floating) or "yyyyMMdd" (a date). The reference covers the
window widened by three days on each side, so that the reader of the index can
cut it by the instants floating times have in its own zone.

Where the expansion decides otherwise than the reference on purpose, the case
carries "difference" (a name the test knows) and "adjusted": the reference
with that decision applied, computed here from the reference's own output or
by asking it the question our decision means.

Exit code 3 when a module is missing (run with /usr/bin/python3).
"""

import json
import os
import random
import sys
from datetime import date, datetime, timedelta, timezone

try:
    import icalendar
    import pytz
    import recurring_ical_events
    from dateutil.rrule import rrulestr
except ImportError as error:  # pragma: no cover
    print("missing module: %s" % error, file=sys.stderr)
    sys.exit(3)

UTC = timezone.utc
WINDOW_FROM = datetime(2024, 2, 1, tzinfo=UTC)
WINDOW_TO = datetime(2024, 12, 1, tzinfo=UTC)
MARGIN = timedelta(days=3)
# Zones of timed series; "floating" has no TZID, "date" is all-day.
DST_ZONES = ["Europe/Berlin", "America/New_York", "Australia/Sydney"]
PLAIN_ZONES = ["UTC", "Asia/Tokyo"]
DAYS = ["MO", "TU", "WE", "TH", "FR", "SA", "SU"]


def ical_dt(value):
    if isinstance(value, datetime):
        if value.tzinfo is None:
            return value.strftime("%Y%m%dT%H%M%S")
        return value.astimezone(UTC).strftime("%Y%m%dT%H%M%SZ")
    return value.strftime("%Y%m%d")


def wall(value):
    return value.strftime("%Y%m%dT%H%M%S")


class Series:
    """One master with its rule, its own zone and the wall clock of its start."""

    def __init__(self, zone, rule, start, duration):
        self.zone = zone
        self.rule = rule  # list of (part, value)
        self.start = start  # naive wall clock (midnight for all-day)
        self.duration = duration
        self.exdates = []
        self.rdates = []
        self.overrides = []  # (slot wall clock, new start wall clock)
        self.until_override = None

    @property
    def all_day(self):
        return self.zone == "date"

    def rule_text(self, until=None):
        parts = [(k, v) for k, v in self.rule if k != "UNTIL"]
        value = until or dict(self.rule).get("UNTIL")
        if value:
            parts.append(("UNTIL", value))
        return ";".join("%s=%s" % kv for kv in parts)

    def tz(self):
        if self.zone in ("floating", "date"):
            return None
        return pytz.utc if self.zone == "UTC" else pytz.timezone(self.zone)

    def instant(self, naive, is_dst=False):
        """The aware value of a wall clock of this series (None when floating)."""
        tz = self.tz()
        if tz is None:
            return None
        return tz.localize(naive, is_dst=is_dst) if tz is not pytz.utc else naive.replace(tzinfo=UTC)

    def property_line(self, name, wall_clocks):
        values = ",".join(self.value_text(w) for w in wall_clocks)
        if self.all_day:
            return "%s;VALUE=DATE:%s" % (name, values)
        if self.zone in ("UTC", "floating"):
            return "%s:%s" % (name, values)
        return "%s;TZID=%s:%s" % (name, self.zone, values)

    def value_text(self, naive):
        if self.all_day:
            return naive.strftime("%Y%m%d")
        if self.zone == "UTC":
            return wall(naive) + "Z"
        return wall(naive)

    def ics(self, uid, until=None):
        lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//corpus//recurrence//EN",
                 "BEGIN:VEVENT", "UID:" + uid, "DTSTAMP:20240101T000000Z",
                 self.property_line("DTSTART", [self.start]),
                 self.property_line("DTEND", [self.start + self.duration]),
                 "SUMMARY:Series", "RRULE:" + self.rule_text(until)]
        if self.exdates:
            lines.append(self.property_line("EXDATE", self.exdates))
        if self.rdates:
            lines.append(self.property_line("RDATE", self.rdates))
        lines.append("END:VEVENT")
        for slot, moved in self.overrides:
            lines += ["BEGIN:VEVENT", "UID:" + uid, "DTSTAMP:20240101T000000Z",
                      self.property_line("RECURRENCE-ID", [slot]),
                      self.property_line("DTSTART", [moved]),
                      self.property_line("DTEND", [moved + self.duration]),
                      "SUMMARY:Moved", "END:VEVENT"]
        lines.append("END:VCALENDAR")
        return "\r\n".join(lines) + "\r\n"

    def naive_rule(self, with_limits=True):
        """The rule over the start's wall clock, as dateutil reads it."""
        skip = set() if with_limits else {"COUNT", "UNTIL"}
        if self.zone not in ("floating", "date"):
            # A UTC UNTIL cannot go with a naive start; the walks that use
            # this look for starts well before it anyway.
            skip.add("UNTIL")
        text = ";".join("%s=%s" % (k, v) for k, v in self.rule if k not in skip)
        return rrulestr(text, dtstart=self.start)


class DefinedZoneSeries(Series):
    """A series in a zone that only its own VTIMEZONE defines."""

    def __init__(self, vtimezone, rule, start, duration):
        tzid = next(line[5:] for line in vtimezone.split("\r\n") if line.startswith("TZID:"))
        super().__init__(tzid, rule, start, duration)
        self.vtimezone = vtimezone

    def ics(self, uid, until=None):
        head, rest = Series.ics(self, uid, until).split("BEGIN:VEVENT", 1)
        return head + self.vtimezone + "BEGIN:VEVENT" + rest


def vtimezone(tzid, *observances):
    """VTIMEZONE text; each observance is (kind, dtstart, from, to, extra lines)."""
    lines = ["BEGIN:VTIMEZONE", "TZID:" + tzid]
    for kind, start, offset_from, offset_to, extra in observances:
        lines += ["BEGIN:" + kind, "DTSTART:" + start, "TZOFFSETFROM:" + offset_from,
                  "TZOFFSETTO:" + offset_to] + extra + ["END:" + kind]
    return "\r\n".join(lines + ["END:VTIMEZONE"]) + "\r\n"


# -03:00, and -02:00 from the second Sunday of March to the first Sunday of
# November, as mail clients write a zone of their own (from 1601).
CUSTOMIZED = vtimezone(
    "Customized Time Zone",
    ("STANDARD", "16010101T020000", "-0200", "-0300", ["RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=1SU;BYMONTH=11"]),
    ("DAYLIGHT", "16010101T020000", "-0300", "-0200", ["RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=2SU;BYMONTH=3"]))
# Southern rules over one year's changes listed by RDATE.
LISTED = vtimezone(
    "Island Time",
    ("DAYLIGHT", "20231001T020000", "+0930", "+1030", ["RDATE:20241006T020000"]),
    ("STANDARD", "20240407T030000", "+1030", "+0930", []))
FIXED = vtimezone("Fixed +0530", ("STANDARD", "19700101T000000", "+0530", "+0530", []))
# Rules that change: from 2024 daylight saving ends on the first Sunday of
# October instead of November. (The reference refuses the UTC UNTIL that
# RFC 5545 asks for here, so the old rule ends at a wall clock.)
CHANGED = vtimezone(
    "Changed Rules",
    ("STANDARD", "19701101T020000", "-0400", "-0500", ["RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU;UNTIL=20231105T020000"]),
    ("DAYLIGHT", "19700308T020000", "-0500", "-0400", ["RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU"]),
    ("STANDARD", "20241006T020000", "-0400", "-0500", ["RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=1SU"]))


def reference(text):
    """The reference's occurrences, or None when it cannot read the text."""
    calendar = icalendar.Calendar.from_ical(text)
    if any(component.errors for component in calendar.walk()):
        return None
    out = []
    for event in recurring_ical_events.of(calendar).between(WINDOW_FROM - MARGIN, WINDOW_TO + MARGIN):
        out.append([ical_dt(event["DTSTART"].dt), ical_dt(event["DTEND"].dt)])
    return sorted(out)


class Generator:
    def __init__(self, seed):
        self.rnd = random.Random(seed)

    def pick(self, seq, k=None):
        if k is None:
            return self.rnd.choice(seq)
        return self.rnd.sample(seq, k)

    def day_list(self, low, high):
        chosen = set(self.pick(DAYS, self.rnd.randint(low, high)))
        return ",".join(d for d in DAYS if d in chosen)

    def rule(self, freq):
        r = self.rnd
        rule = [("FREQ", freq)]
        if r.random() < 0.5:
            rule.append(("INTERVAL", str(r.randint(2, 4) if freq != "DAILY" else r.randint(2, 5))))
        if freq == "DAILY":
            choice = r.random()
            if choice < 0.3:
                rule.append(("BYDAY", self.day_list(2, 5)))
            elif choice < 0.45:
                rule.append(("BYMONTH", ",".join(str(m) for m in sorted(self.pick(range(1, 13), 4)))))
            elif choice < 0.6:
                rule.append(("BYMONTHDAY", self.pick(["1,15", "-1", "1,-1", "10,20,30"])))
            elif choice < 0.7:
                rule.append(("BYHOUR", self.pick(["9,17", "8,12,18"])))
        elif freq == "WEEKLY":
            if r.random() < 0.7:
                rule.append(("BYDAY", self.day_list(1, 3)))
            if r.random() < 0.4:
                rule.append(("WKST", self.pick(["MO", "SU", "WE", "SA"])))
            if r.random() < 0.15:
                rule.append(("BYMONTH", "3,4,10,11"))
        elif freq == "MONTHLY":
            choice = r.random()
            if choice < 0.15:
                pass  # the start's day, 29th-31st included
            elif choice < 0.35:
                rule.append(("BYMONTHDAY", self.pick(["-1", "-2", "1,15", "31", "30,-1", "-7,7", "29"])))
            elif choice < 0.55:
                rule.append(("BYDAY", "%d%s" % (self.pick([1, 2, 3, 4, -1, -2]), self.pick(DAYS))))
            elif choice < 0.75:
                rule.append(("BYDAY", self.pick(["MO,TU,WE,TH,FR", "SA,SU", "MO,WE,FR", "TU,TH"])))
                rule.append(("BYSETPOS", self.pick(["1", "-1", "2", "-2", "1,-1", "3"])))
            elif choice < 0.85:
                rule.append(("BYDAY", self.pick(["FR", "MO", "SU"])))
                rule.append(("BYMONTHDAY", self.pick(["13", "1,2,3,4,5,6,7", "-1,-2,-3,-4,-5,-6,-7"])))
            elif choice < 0.93:
                rule.append(("BYDAY", "1MO,-1FR"))
            else:
                rule.append(("BYMONTH", "1,4,7,10"))
                rule.append(("BYMONTHDAY", "-1"))
        elif freq == "YEARLY":
            choice = r.random()
            if choice < 0.2:
                pass  # the start's month and day, 29 February included
            elif choice < 0.4:
                rule.append(("BYMONTH", self.pick(["3", "10", "3,10", "11"])))
                rule.append(("BYDAY", "%d%s" % (self.pick([1, 2, -1]), self.pick(DAYS))))
            elif choice < 0.5:
                rule.append(("BYMONTH", self.pick(["2", "1,7", "4,6,9,11"])))
                rule.append(("BYMONTHDAY", self.pick(["-1", "29", "30", "1,15"])))
            elif choice < 0.6:
                rule.append(("BYYEARDAY", self.pick(["1,100,200", "-1", "60", "-100,100", "366"])))
            elif choice < 0.7:
                rule.append(("BYWEEKNO", self.pick(["1", "20", "-1", "1,26,52", "53"])))
                rule.append(("BYDAY", self.pick(["MO", "SU", "TH,FR"])))
                if r.random() < 0.5:
                    rule.append(("WKST", self.pick(["SU", "MO"])))
            elif choice < 0.8:
                # python-icalendar reads one-digit ordinals only.
                rule.append(("BYDAY", "%d%s" % (self.pick([1, 2, 9, -1, -2, -9]), self.pick(DAYS))))
            elif choice < 0.9:
                rule.append(("BYMONTH", self.pick(["5", "12"])))
                rule.append(("BYDAY", "MO,TU,WE,TH,FR"))
                rule.append(("BYSETPOS", self.pick(["-1", "1", "2,-2"])))
            else:
                rule.append(("BYMONTH", "6,7,8"))
                rule.append(("BYDAY", "SA"))
        else:  # sub-daily, kept short
            if freq == "HOURLY" and r.random() < 0.5:
                rule.append(("BYHOUR", "9,10,11,14"))
            if freq == "MINUTELY" and r.random() < 0.5:
                rule.append(("BYMINUTE", "0,20,40"))
            if freq == "SECONDLY" and r.random() < 0.5:
                rule.append(("BYSECOND", "0,30"))
            rule.append(("COUNT", str(r.randint(3, 60))))
        return rule

    def start(self, zone, long_ago=False):
        r = self.rnd
        first = date(2012, 1, 1) if long_ago else date(2023, 9, 1)
        last = date(2016, 1, 1) if long_ago else date(2024, 10, 15)
        day = first + timedelta(days=r.randint(0, (last - first).days))
        if zone == "date":
            return datetime(day.year, day.month, day.day)
        return datetime(day.year, day.month, day.day, r.randint(7, 21), self.pick([0, 15, 30, 45]))

    def duration(self, zone):
        if zone == "date":
            return timedelta(days=self.pick([1, 1, 1, 2, 3]))
        # Floating times have no instants, so a span across a night with a
        # DST change lasts as long as the reader's zone says; keep them short.
        longest = [] if zone == "floating" else [24 * 60 + 60]
        return timedelta(minutes=self.pick([30, 45, 60, 90, 120] + longest))


def synchronised(series):
    """Moves the start to the rule's first start from it, as a client does."""
    try:
        rule = series.naive_rule(with_limits=False)
    except ValueError:
        return False  # a rule dateutil refuses, such as BYHOUR off the INTERVAL grid
    first = next(iter(rule), None)
    if first is None or first.year > 2025:
        return False
    series.start = first
    return True


def occurrences(series, until=None):
    """Wall clocks of the series' rule starts up to `until` (naive)."""
    rule = series.naive_rule(with_limits=True)
    out = []
    for value in rule:
        if until and value > until:
            break
        out.append(value)
        if len(out) > 20000:
            break
    return out


def naive_window(series):
    frm = WINDOW_FROM.replace(tzinfo=None) + timedelta(days=1)
    to = WINDOW_TO.replace(tzinfo=None) - timedelta(days=1)
    return frm, to


def add_limits(gen, series, difference_allowed):
    """COUNT, UNTIL in the series' own form, a date-only UNTIL or nothing."""
    r = gen.rnd
    choice = r.random()
    if choice < 0.35:
        series.rule.append(("COUNT", str(r.randint(2, 40))))
        return None
    if choice < 0.55:
        return None
    starts = occurrences(series, until=WINDOW_TO.replace(tzinfo=None) + timedelta(days=60))
    if len(starts) < 3:
        return None
    k = r.randint(1, len(starts) - 2)
    slot = starts[k]
    if series.all_day:
        series.rule.append(("UNTIL", slot.strftime("%Y%m%d")))
    elif series.zone == "floating":
        series.rule.append(("UNTIL", wall(slot)))
    elif difference_allowed and r.random() < 0.3:
        series.rule.append(("UNTIL", slot.strftime("%Y%m%d")))
        return "date-only-until"
    else:
        at = series.instant(slot)
        if at.utcoffset() != series.instant(series.start).utcoffset():
            # The reference compares UNTIL with the offset of DTSTART; stay
            # clear of the hour that could tip.
            following = series.instant(starts[k + 1])
            if following - at < timedelta(hours=4):
                return None
            at = at + timedelta(hours=2)
        series.rule.append(("UNTIL", at.astimezone(UTC).strftime("%Y%m%dT%H%M%SZ")))
    return None


def add_exceptions_and_dates(gen, series):
    r = gen.rnd
    frm, to = naive_window(series)
    starts = [s for s in occurrences(series, until=to) if s >= frm]
    if starts and r.random() < 0.4:
        series.exdates = sorted(gen.pick(starts, min(len(starts), r.randint(1, 2))))
    if r.random() < 0.3:
        # Extra dates off the rule: the reference adds one that meets a rule
        # start across a DST change twice, as it keeps DTSTART's offset.
        taken = set(occurrences(series, until=to))
        for _ in range(r.randint(1, 2)):
            day = frm + timedelta(days=r.randint(0, (to - frm).days))
            extra = day.replace(hour=series.start.hour, minute=series.start.minute)
            if extra not in taken:
                series.rdates.append(extra)
        series.rdates.sort()


def add_override(gen, series):
    """One override: moved within, out of, or into the window."""
    r = gen.rnd
    frm, to = naive_window(series)
    starts = occurrences(series, until=to + timedelta(days=120))
    # The reference matches overrides by date: one start a day at most.
    if len({s.date() for s in starts}) != len(starts):
        return None
    starts = [s for s in starts if s not in series.exdates]
    inside = [s for s in starts if frm <= s <= to]
    after = [s for s in starts if s > to + timedelta(days=5)]
    before = [s for s in starts if s < frm - timedelta(days=5)]
    kinds = []
    if inside:
        kinds += ["moved within the window", "moved out of the window"]
    if after or before:
        kinds.append("moved into the window")
    if not kinds:
        return None
    kind = gen.pick(kinds)
    if kind == "moved within the window":
        slot = gen.pick(inside)
        moved = slot + (timedelta(days=1) if series.all_day else timedelta(hours=2))
    elif kind == "moved out of the window":
        slot = gen.pick(inside)
        moved = to + timedelta(days=20)
    else:
        slot = gen.pick(after + before)
        moved = frm + timedelta(days=r.randint(5, 200))
    if not series.all_day:
        moved = moved.replace(hour=series.start.hour, minute=series.start.minute)
    else:
        moved = datetime(moved.year, moved.month, moved.day)
    series.overrides.append((slot, moved))
    return kind


def first_of_repeated(series, ref):
    """The reference with every start at a repeated wall clock moved to the
    first occurrence of that wall clock; the reference takes the later one."""
    def parse(text):
        return datetime.strptime(text, "%Y%m%dT%H%M%SZ").replace(tzinfo=UTC)

    out = []
    for start, end in ref:
        s, e = parse(start), parse(end)
        first = series.instant(s.astimezone(series.tz()).replace(tzinfo=None), is_dst=True).astimezone(UTC)
        out.append([ical_dt(first), ical_dt(e + (first - s))])
    return sorted(out)


def case_name(index, series, extras):
    zone = {"date": "all-day", "floating": "floating"}.get(series.zone, series.zone)
    name = "%03d %s %s" % (index, zone, series.rule_text())
    for extra in extras:
        name += ", " + extra
    return name


def build(args):
    out_dir = args[0]
    seed = 20240601
    count = 420
    if "--seed" in args:
        seed = int(args[args.index("--seed") + 1])
    if "--cases" in args:
        count = int(args[args.index("--cases") + 1])
    gen = Generator(seed)
    os.makedirs(out_dir, exist_ok=True)
    cases = []

    def emit(series, extras, difference=None, adjusted_until=None):
        index = len(cases)
        uid = "case-%03d@corpus" % index
        text = series.ics(uid)
        ref = reference(text)
        if ref is None:
            return
        case = {"name": case_name(index, series, extras), "file": "case-%03d.ics" % index, "reference": ref}
        adjusted = None
        if difference == "date-only-until":
            adjusted = reference(series.ics(uid, until=adjusted_until))
        elif difference == "first-of-repeated-wall-clock":
            adjusted = first_of_repeated(series, ref)
        elif difference == "unsynchronised-start":
            first = ical_dt(series.start.date() if series.all_day else series.instant(series.start) or series.start)
            adjusted = [o for o in ref if o[0] != first]
        if adjusted is not None and adjusted != ref:
            case["difference"] = difference
            case["adjusted"] = adjusted
        with open(os.path.join(out_dir, case["file"]), "w", newline="") as f:
            f.write(text)
        cases.append(case)

    frequencies = ["DAILY"] * 3 + ["WEEKLY"] * 3 + ["MONTHLY"] * 4 + ["YEARLY"] * 3
    zones = DST_ZONES * 3 + PLAIN_ZONES + ["floating", "date", "date"]
    attempts = 0
    while len(cases) < count and attempts < count * 20:
        attempts += 1
        freq = gen.pick(frequencies + ["HOURLY", "MINUTELY", "SECONDLY"] if len(cases) % 10 == 0 else frequencies)
        sub_daily = freq in ("HOURLY", "MINUTELY", "SECONDLY")
        zone = gen.pick(PLAIN_ZONES) if sub_daily else gen.pick(zones)
        long_ago = not sub_daily and gen.rnd.random() < 0.08
        series = Series(zone, gen.rule(freq), gen.start(zone, long_ago), gen.duration(zone))
        if sub_daily:
            series.start = datetime(2024, 5, 1 + gen.rnd.randint(0, 20), gen.rnd.randint(8, 15), 0)
        if zone == "date" and any(k in ("BYHOUR", "BYMINUTE", "BYSECOND") for k, _ in series.rule):
            continue
        if not synchronised(series):
            continue
        if series.tz() is not None and any(
                series.instant(s, True) != series.instant(s, False)
                for s in occurrences(series, until=WINDOW_TO.replace(tzinfo=None) + MARGIN)):
            continue  # repeated or skipped wall clocks have their own group
        difference = None
        adjusted_until = None
        if not sub_daily and "COUNT" not in dict(series.rule):
            difference = add_limits(gen, series, difference_allowed=not long_ago)
            if difference == "date-only-until":
                day = datetime.strptime(dict(series.rule)["UNTIL"], "%Y%m%d")
                end_of_day = day.replace(hour=23, minute=59, second=59)
                adjusted_until = (wall(end_of_day) if series.zone == "floating"
                                  else series.instant(end_of_day).astimezone(UTC).strftime("%Y%m%dT%H%M%SZ"))
        extras = []
        if not sub_daily:
            add_exceptions_and_dates(gen, series)
            if series.exdates:
                extras.append("EXDATE")
            if series.rdates:
                extras.append("RDATE")
            if gen.rnd.random() < 0.3:
                kind = add_override(gen, series)
                if kind:
                    extras.append("override " + kind)
        if long_ago:
            extras.append("begun years before the window")
        emit(series, extras, difference, adjusted_until)

    # Wall clocks that a DST change repeats (read as the first occurrence) or
    # skips (read with the offset before the gap).
    for zone, start, rule in [
        ("Europe/Berlin", datetime(2024, 10, 20, 2, 30), "FREQ=DAILY;COUNT=14"),
        ("Europe/Berlin", datetime(2024, 10, 6, 2, 15), "FREQ=WEEKLY;BYDAY=SU;COUNT=6"),
        ("America/New_York", datetime(2024, 10, 28, 1, 30), "FREQ=DAILY;COUNT=10"),
        ("America/New_York", datetime(2024, 11, 3, 1, 0), "FREQ=MONTHLY;BYDAY=1SU;COUNT=3"),
        ("Australia/Sydney", datetime(2024, 3, 30, 2, 30), "FREQ=DAILY;COUNT=4"),
    ]:
        series = Series(zone, [tuple(p.split("=")) for p in rule.split(";")], start, timedelta(minutes=30))
        emit(series, ["repeated wall clock"], "first-of-repeated-wall-clock")
    for zone, start, rule in [
        ("Europe/Berlin", datetime(2024, 3, 28, 2, 30), "FREQ=DAILY;COUNT=6"),
        ("America/New_York", datetime(2024, 3, 3, 2, 30), "FREQ=WEEKLY;COUNT=3"),
        ("Australia/Sydney", datetime(2024, 10, 5, 2, 15), "FREQ=DAILY;COUNT=3"),
        # A start the gap skips moves alone; the later ones keep its wall clock.
        ("Europe/Berlin", datetime(2024, 3, 31, 2, 30), "FREQ=DAILY;COUNT=4"),
        ("America/New_York", datetime(2024, 3, 10, 2, 30), "FREQ=WEEKLY;COUNT=3"),
        ("America/New_York", datetime(2024, 3, 10, 2, 30), "FREQ=DAILY;UNTIL=20240310T073000Z"),
    ]:
        # Ending after the gap, past a start it moved.
        series = Series(zone, [tuple(p.split("=")) for p in rule.split(";")], start, timedelta(hours=2))
        emit(series, ["skipped wall clock"])
    # Zones only the object's own VTIMEZONE defines.
    for zone, start, rule in [
        (CUSTOMIZED, datetime(2024, 2, 27, 9, 0), "FREQ=WEEKLY;COUNT=6"),
        (CUSTOMIZED, datetime(2024, 10, 1, 18, 30), "FREQ=WEEKLY;BYDAY=TU,FR;COUNT=12"),
        (CUSTOMIZED, datetime(2024, 3, 10, 2, 30), "FREQ=WEEKLY;COUNT=3"),
        (LISTED, datetime(2024, 3, 25, 8, 0), "FREQ=DAILY;COUNT=20"),
        (LISTED, datetime(2024, 9, 25, 8, 0), "FREQ=WEEKLY;COUNT=4"),
        (FIXED, datetime(2024, 3, 1, 10, 0), "FREQ=MONTHLY;COUNT=5"),
        (CHANGED, datetime(2024, 9, 3, 9, 0), "FREQ=WEEKLY;COUNT=12"),
    ]:
        series = DefinedZoneSeries(zone, [tuple(p.split("=")) for p in rule.split(";")], start, timedelta(hours=2))
        emit(series, ["zone defined by its VTIMEZONE"])
    # Starts that the rule itself does not give.
    for zone, start, rule in [
        ("Europe/Berlin", datetime(2024, 3, 4, 10, 0), "FREQ=DAILY;BYDAY=SA,SU;COUNT=4"),
        ("UTC", datetime(2024, 3, 3, 9, 0), "FREQ=MONTHLY;BYMONTHDAY=15;COUNT=3"),
        ("America/New_York", datetime(2024, 5, 8, 18, 0), "FREQ=WEEKLY;BYDAY=TU"),
        ("date", datetime(2024, 6, 5), "FREQ=YEARLY;BYMONTH=7;BYMONTHDAY=4"),
    ]:
        series = Series(zone, [tuple(p.split("=")) for p in rule.split(";")], start,
                        timedelta(days=1) if zone == "date" else timedelta(hours=1))
        emit(series, ["start outside the rule"], "unsynchronised-start")

    with open(os.path.join(out_dir, "index.json"), "w") as f:
        json.dump({"window": [ical_dt(WINDOW_FROM), ical_dt(WINDOW_TO)], "cases": cases}, f, indent=0)
    return 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(build(sys.argv[1:]))
