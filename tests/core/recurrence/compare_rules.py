#!/usr/bin/python3
"""Compares the expansion's starts with dateutil's rrule on random rules and
lists where they differ, for a hunt by hand (run with /usr/bin/python3).

    compare_rules.py DUMPER [--seed N] [--cases N] [--show N]

DUMPER is the recurrencedump program (cmake --build build --target
recurrencedump; build/tests/core/recurrence/recurrencedump). Rules cover every
FREQ and BYxxx part, ordinals, WKST, COUNT and UNTIL, all-day starts and
timed ones in UTC and in zones, and now and then a value out of range. Before comparing, the
reference gets the decisions of RFC 5545 it leaves out: a rule out of range,
or one that gives no start at all, is its DTSTART alone. Every difference
left is to be judged by RFC 5545: the reference has faults of its own.
Exit code 1 when any case differs.
"""

import random
import signal
import subprocess
import sys
from collections import Counter
from datetime import datetime, timedelta

from dateutil import tz
from dateutil.rrule import rrulestr

DAYS = ["MO", "TU", "WE", "TH", "FR", "SA", "SU"]
SUB_DAILY = ("HOURLY", "MINUTELY", "SECONDLY")
# Zones of some timed series, with and without daylight saving.
ZONES = ["Europe/Berlin", "America/New_York", "Australia/Sydney", "Asia/Tokyo"]
# Compared per case: the first starts up to the window's end.
FIRST = 60


class Case:
    def __init__(self, start, all_day, zone, parts, end, out_of_range):
        self.start = start
        self.all_day = all_day
        self.zone = zone  # None: UTC (or dates)
        self.parts = parts
        self.end = end
        self.out_of_range = out_of_range

    def form(self, value):
        return value.strftime("%Y%m%d" if self.all_day else "%Y%m%dT%H%M%S")

    def line(self, value):
        return (self.zone + ":" if self.zone else "") + self.form(value)

    def aware(self, value):
        if self.all_day:
            return value
        return value.replace(tzinfo=tz.gettz(self.zone) if self.zone else tz.UTC)

    @property
    def rule(self):
        return ";".join("%s=%s" % kv for kv in self.parts)


def numbers(r, low, high, signed, k):
    values = set()
    while len(values) < k:
        n = r.randint(low, high)
        values.add(-n if signed and r.random() < 0.3 else n)
    return ",".join(str(v) for v in sorted(values))


def out_of_range(r):
    return r.choice([("BYMONTH", "13"), ("BYMONTH", "0"), ("BYMONTHDAY", "0"), ("BYMONTHDAY", "32"),
                     ("BYMONTHDAY", "-32"), ("BYSETPOS", "0"), ("BYHOUR", "24"), ("BYMINUTE", "60"),
                     ("BYWEEKNO", "0"), ("BYWEEKNO", "54"), ("BYYEARDAY", "0"), ("BYYEARDAY", "367"),
                     ("COUNT", "0"), ("INTERVAL", "0"), ("BYDAY", "XX"), ("WKST", "XX")])


def make_case(r):
    freq = r.choice(["DAILY"] * 3 + ["WEEKLY"] * 3 + ["MONTHLY"] * 4 + ["YEARLY"] * 4 + list(SUB_DAILY))
    sub_daily = freq in SUB_DAILY
    all_day = not sub_daily and r.random() < 0.3
    day = datetime(2020, 1, 1) + timedelta(days=r.randint(0, 6 * 366))
    start = day if all_day else day.replace(hour=r.randint(0, 23), minute=r.choice([0, 15, 30, 45]))
    parts = [("FREQ", freq)]
    if r.random() < 0.35:
        parts.append(("INTERVAL", str(r.randint(2, 4))))
    by = {}
    if r.random() < 0.25:
        by["BYMONTH"] = numbers(r, 1, 12, False, r.randint(1, 3))
    if freq != "WEEKLY" and r.random() < 0.25:
        by["BYMONTHDAY"] = numbers(r, 1, 31, True, r.randint(1, 3))
    if freq == "YEARLY" and r.random() < 0.15:
        by["BYYEARDAY"] = numbers(r, 1, 366, True, r.randint(1, 2))
    if freq == "YEARLY" and r.random() < 0.2:
        by["BYWEEKNO"] = numbers(r, 1, 53, True, r.randint(1, 2))
    if r.random() < 0.45:
        codes = r.sample(DAYS, r.randint(1, 3))
        if freq in ("MONTHLY", "YEARLY") and "BYWEEKNO" not in by and r.random() < 0.5:
            limit = 5 if freq == "MONTHLY" or "BYMONTH" in by else 53
            codes = ["%d%s" % (r.choice([1, -1]) * r.randint(1, limit), c) for c in codes]
        by["BYDAY"] = ",".join(codes)
    if not all_day and r.random() < 0.15:
        by["BYHOUR"] = numbers(r, 0, 23, False, r.randint(1, 2))
    if not all_day and r.random() < 0.1:
        by["BYMINUTE"] = numbers(r, 0, 59, False, r.randint(1, 2))
    if by and r.random() < 0.2:
        by["BYSETPOS"] = numbers(r, 1, 4, True, 1)
    parts += sorted(by.items())
    if r.random() < 0.2:
        parts.append(("WKST", r.choice(DAYS)))
    limit = r.random()
    if sub_daily or limit < 0.4:
        parts.append(("COUNT", str(r.randint(1, 40))))
    elif limit < 0.7:
        until = start + timedelta(days=r.randint(-20, 4 * 366), hours=r.randint(0, 23))
        parts.append(("UNTIL", until.strftime("%Y%m%d") if all_day else until.strftime("%Y%m%dT%H%M%SZ")))
    bad = r.random() < 0.04
    if bad:
        parts.insert(r.randint(1, len(parts)), out_of_range(r))
    end = start + (timedelta(days=3) if sub_daily else timedelta(days=12 * 366))
    zone = r.choice(ZONES) if not sub_daily and not all_day and r.random() < 0.3 else None
    return Case(start, all_day, zone, parts, end, bad)


class Slow(Exception):
    pass


def too_slow(*_):
    raise Slow()


def reference_rule(case):
    """The rule given to the reference. A yearly rule of numbered weeks
    without days repeats on DTSTART's weekday here, as what a rule leaves
    open comes from DTSTART; the reference takes the whole week."""
    names = {k for k, _ in case.parts}
    if case.parts[0][1] == "YEARLY" and "BYWEEKNO" in names and not names & {"BYDAY", "BYMONTHDAY", "BYYEARDAY"}:
        return case.rule + ";BYDAY=" + DAYS[case.start.weekday()]
    return case.rule


def walk(values, end, limit):
    """Values before `end`, at most `limit`; a last None when cut short (a
    rule that gives nothing walks to the year 9999 there)."""
    out = []
    signal.signal(signal.SIGALRM, too_slow)
    signal.setitimer(signal.ITIMER_REAL, 0.3)
    try:
        for value in values:
            if value >= end or len(out) >= limit:
                break
            out.append(value)
    except Slow:
        out.append(None)
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
    return out


def expected_starts(case):
    """The reference's starts with the decisions above; None when it cannot
    tell (its walk for a first start was cut short, or a wall clock it gives
    is one daylight saving skips or repeats)."""
    if case.out_of_range:
        return [case.form(case.start)]
    start = case.aware(case.start)
    end = case.aware(case.end)
    try:
        rule = rrulestr(reference_rule(case), dtstart=start)
        within = walk(rule, end, FIRST)
        if not within:
            first = walk(rule, datetime.max.replace(tzinfo=end.tzinfo), 1)
            if first == [None]:
                return None
            if not first:  # no start at all: the series is its DTSTART
                return [case.form(case.start)]
    except (ValueError, IndexError, TypeError, OverflowError, ZeroDivisionError):
        return [case.form(case.start)]  # refused: out of range
    # A wall clock that daylight saving skips or repeats is read as RFC 5545
    # says here; the reference keeps it as it stands.
    if case.zone and any(v is not None and (not tz.datetime_exists(v) or tz.datetime_ambiguous(v))
                         for v in [start] + within):
        return None
    return [None if v is None else case.form(v) for v in within]


def main(args):
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    dumper = args[0]
    seed = int(args[args.index("--seed") + 1]) if "--seed" in args else 1
    count = int(args[args.index("--cases") + 1]) if "--cases" in args else 3000
    show = int(args[args.index("--show") + 1]) if "--show" in args else 40
    r = random.Random(seed)
    cases = [make_case(r) for _ in range(count)]
    lines = "".join("%s\t%s\t%s\n" % (c.line(c.start), c.rule, c.line(c.end)) for c in cases)
    result = subprocess.run([dumper], input=lines, capture_output=True, text=True, check=True)
    differing = Counter()
    undecided = 0
    shown = 0
    for case, line in zip(cases, result.stdout.split("\n")):
        mine = line.split()[:FIRST]
        expected = expected_starts(case)
        if expected is None:
            undecided += 1
            continue
        if expected and expected[-1] is None:  # compared as far as the reference went
            expected = expected[:-1]
            mine = mine[:len(expected)]
        if mine == expected:
            continue
        differing[case.parts[0][1]] += 1
        if shown < show:
            shown += 1
            print("%s %s" % (case.line(case.start), case.rule))
            print("   ours:      %s" % " ".join(mine[:12]))
            print("   reference: %s" % " ".join(expected[:12]))
            print("   differing: %s" % " ".join(sorted(set(mine) ^ set(expected))[:8]))
    print("%d of %d cases differ (%s); %d the reference could not decide"
          % (sum(differing.values()), count, dict(differing), undecided))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
