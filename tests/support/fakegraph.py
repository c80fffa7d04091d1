#!/usr/bin/python3
"""A stand-in for Microsoft Graph v1.0 calendars and the Microsoft identity
token endpoint on 127.0.0.1.

It behaves as the public documentation describes the parts the program uses:
the authorization-code flow with PKCE (S256) and refresh, the calendar list
with "@odata.nextLink" pages, event listings with a "$filter" window,
change tracking on a calendar view only (`calendarView/delta` with
startDateTime and endDateTime, then the "@odata.nextLink" and
"@odata.deltaLink" it hands out; `events/delta` is a beta feature and
answers 400 here). A calendar view lists single events, the occurrences and
exceptions of series (with "seriesMasterId", "originalStart" and "type"),
never the masters; later rounds report what left the view as "@removed"
entries that carry only the id, and a delta token it no longer knows is
answered 410 "syncStateNotFound". Times are served in UTC when the request
prefers so, with "originalStartTimeZone" the zone the event was written in.
An all-day event ("isAllDay") must be written midnight to midnight, a day or
more, and is served midnight to midnight of its dates whatever zone it was
written in; an all-day instance's "originalStart" is midnight of its day in
the series' zone, in UTC, and its "originalStartTimeZone" the zone asked for
(UTC), not the one it was written in. A meeting its organizer cancelled stays listed
with "isCancelled" true.
POST, PATCH as a merge and DELETE, each write with If-Match on the W/"..."
entity tag (412 when stale or not in that form); writing an occurrence makes it an exception of its
series, deleting one cancels it, and changing a series' pattern or times
drops its exceptions. Every resource carries a W/"..." "@odata.etag".

Tests steer it through /_control/...: seed calendars and events, change or
remove events behind the client's back, expire delta tokens, inject
failures (with Retry-After on 429 and 503, or a cut-short 2xx body) and
read the request log. Prints the port it listens on, then serves until
killed.
"""
import calendar as calendars
import copy
import datetime
import json
import re
import secrets
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from zoneinfo import ZoneInfo

import fakeprovider
from fakeprovider import s256

LOCK = threading.RLock()
PREFIX = "/v1.0"
UTC = datetime.timezone.utc

# The Windows zone names the tests use, as Graph writes them.
WINDOWS_ZONES = {
    "W. Europe Standard Time": "Europe/Berlin",
    "Pacific Standard Time": "America/Los_Angeles",
    "Eastern Standard Time": "America/New_York",
    "GMT Standard Time": "Europe/London",
    "Romance Standard Time": "Europe/Paris",
    "Tokyo Standard Time": "Asia/Tokyo",
    "Hawaiian Standard Time": "Pacific/Honolulu",
    "Tonga Standard Time": "Pacific/Tongatapu",
    "UTC": "UTC",
    "tzone://Microsoft/Utc": "UTC",
}
DAYS = ["monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"]
INDEXES = {"first": 0, "second": 1, "third": 2, "fourth": 3, "last": -1}


def zone(name):
    name = WINDOWS_ZONES.get(name or "UTC", name)
    try:
        return ZoneInfo(name)
    except Exception:
        return UTC


def read_time(value):
    """A dateTimeTimeZone object as an aware datetime."""
    text = value.get("dateTime", "")
    offset = re.search(r"(Z|[+-]\d\d:\d\d)$", text)
    moment = datetime.datetime.fromisoformat(text[:19])
    if offset:
        shift = offset.group(1)
        return moment.replace(tzinfo=UTC) if shift == "Z" else \
            datetime.datetime.fromisoformat(text[:19] + shift).astimezone(UTC)
    return moment.replace(tzinfo=zone(value.get("timeZone")))


def utc_time(moment):
    return {"dateTime": moment.astimezone(UTC).strftime("%Y-%m-%dT%H:%M:%S.0000000"), "timeZone": "UTC"}


def day_time(day):
    """An all-day start or end: midnight of the date, in no zone that moves it."""
    return {"dateTime": day.strftime("%Y-%m-%dT00:00:00.0000000"), "timeZone": "UTC"}


def written_day(value):
    """The date an all-day start or end was written with."""
    return datetime.date.fromisoformat(value.get("dateTime", "")[:10])


def span(item):
    """Where an item lies, for windows: an all-day one on its dates at 00:00 UTC."""
    if item.get("isAllDay"):
        return tuple(datetime.datetime.combine(written_day(item[key]), datetime.time(), UTC)
                     for key in ("start", "end"))
    return read_time(item["start"]), read_time(item["end"])


def read_query_time(text):
    moment = datetime.datetime.fromisoformat(text.replace("Z", "+00:00"))
    return moment if moment.tzinfo else moment.replace(tzinfo=UTC)


def key_of(moment):
    return moment.astimezone(UTC).strftime("%Y%m%dT%H%M%SZ")


class State:
    settings = ("calendar_page_size", "event_page_size", "link_host", "retry_after")

    def __init__(self, client_id):
        self.client_id = client_id
        self.reset()

    def reset(self):
        self.seq = 0
        self.calendars = []          # calendar objects, in order
        self.events = {}             # calendar id -> {event id -> single event or series master}
        self.delta_tokens = {}       # token -> (calendar, start, end, {instance id: change key})
        self.rounds = {}             # skip token -> (calendar, start, end, changes, snapshot)
        self.codes = {}              # code -> (challenge, redirect_uri)
        self.access_tokens = set()
        self.refresh_tokens = set()
        self.calendar_page_size = 10
        self.event_page_size = 50    # the server's cap on any page
        self.link_host = None        # another host for next and delta links
        self.retry_after = 7         # seconds, sent with 429 and 503
        self.garbled = []            # [path part, count]: 2xx bodies cut short
        self.failures = []
        self.log = []

    def new_key(self):
        self.seq += 1
        return "ck-%d" % self.seq

    def bump(self, calendar, event):
        event["changeKey"] = self.new_key()
        event["lastModifiedDateTime"] = time.strftime("%Y-%m-%dT%H:%M:%S.0000000Z", time.gmtime())

    def put_event(self, calendar, event):
        event = dict(event)
        event.setdefault("id", "AAMk" + secrets.token_hex(8))
        event["type"] = "seriesMaster" if event.get("recurrence") else "singleInstance"
        event.setdefault("originalStartTimeZone", event.get("start", {}).get("timeZone", "UTC"))
        event.setdefault("originalEndTimeZone", event.get("end", {}).get("timeZone", "UTC"))
        event.setdefault("isAllDay", False)
        event.setdefault("isCancelled", False)
        event.setdefault("_exceptions", {})
        event.setdefault("_cancelled", [])
        self.events.setdefault(calendar, {})[event["id"]] = event
        self.bump(calendar, event)
        return event

    def remove_event(self, calendar, event_id):
        if event_id in self.events[calendar]:
            self.events[calendar].pop(event_id)
            return True
        found = self.instance(calendar, event_id)
        if found is None:
            return False
        master, key = found
        master["_exceptions"].pop(key, None)
        if key not in master["_cancelled"]:
            master["_cancelled"].append(key)
        return True

    def new_access_token(self):
        token = "at-" + secrets.token_hex(8)
        self.access_tokens.add(token)
        return token

    # --- series ---------------------------------------------------------------
    def instance(self, calendar, instance_id):
        """The master and original start key an instance id names, or None."""
        if "_" not in instance_id:
            return None
        master_id, key = instance_id.rsplit("_", 1)
        master = self.events.get(calendar, {}).get(master_id)
        if master is None or master["type"] != "seriesMaster":
            return None
        return master, key

    def starts(self, master, until):
        """The UTC starts of a series up to `until` (exclusive), by its pattern and range."""
        recurrence = master["recurrence"]
        pattern, rng = recurrence.get("pattern", {}), recurrence.get("range", {})
        first = read_time(master["start"])
        home = zone(rng.get("recurrenceTimeZone") or master["start"].get("timeZone"))
        local = first.astimezone(home)
        day = datetime.date.fromisoformat(rng.get("startDate") or local.date().isoformat())
        begin = day
        end_day = datetime.date.fromisoformat(rng["endDate"]) if rng.get("type") == "endDate" else None
        count = rng.get("numberOfOccurrences", 0) if rng.get("type") == "numbered" else 0
        interval = max(1, pattern.get("interval", 1))
        kind = pattern.get("type")
        names = pattern.get("daysOfWeek", [])
        week_start = DAYS.index(pattern.get("firstDayOfWeek", "sunday"))
        out = []
        while True:
            moment = datetime.datetime.combine(day, local.time()).replace(tzinfo=home)
            if moment.astimezone(UTC) >= until or (end_day and day > end_day) or (count and len(out) >= count):
                return out
            if self.matches(kind, pattern, names, interval, week_start, begin, day):
                out.append(moment.astimezone(UTC))
            day += datetime.timedelta(days=1)

    @staticmethod
    def matches(kind, pattern, names, interval, week_start, begin, day):
        months = (day.year - begin.year) * 12 + day.month - begin.month
        if kind == "daily":
            return (day - begin).days % interval == 0
        if kind == "weekly":
            first_week = begin - datetime.timedelta(days=(begin.weekday() - week_start) % 7)
            return DAYS[day.weekday()] in names and ((day - first_week).days // 7) % interval == 0
        if kind in ("absoluteMonthly", "relativeMonthly") and months % interval:
            return False
        if kind in ("absoluteYearly", "relativeYearly"):
            if (day.year - begin.year) % interval or day.month != pattern.get("month"):
                return False
        if kind in ("absoluteMonthly", "absoluteYearly"):
            return day.day == pattern.get("dayOfMonth")
        if kind in ("relativeMonthly", "relativeYearly"):
            size = calendars.monthrange(day.year, day.month)[1]
            chosen = [datetime.date(day.year, day.month, d) for d in range(1, size + 1)
                      if DAYS[datetime.date(day.year, day.month, d).weekday()] in names]
            index = INDEXES.get(pattern.get("index", "first"), 0)
            return bool(chosen) and chosen[index] == day
        return False

    def instances(self, master, low, high):
        """The occurrences and exceptions of a series that overlap [low, high)."""
        first = read_time(master["start"])
        length = read_time(master["end"]) - first
        days = (written_day(master["end"]) - written_day(master["start"])).days
        home = zone(master["recurrence"].get("range", {}).get("recurrenceTimeZone") or master["start"].get("timeZone"))
        out = []
        for start in self.starts(master, high + datetime.timedelta(days=400)):
            key = key_of(start)
            if key in master["_cancelled"]:
                continue
            item = {k: copy.deepcopy(v) for k, v in master.items() if not k.startswith("_") and k != "recurrence"}
            item.update({"id": "%s_%s" % (master["id"], key), "type": "occurrence", "seriesMasterId": master["id"],
                         "originalStart": start.strftime("%Y-%m-%dT%H:%M:%SZ"),
                         "start": utc_time(start), "end": utc_time(start + length)})
            if master.get("isAllDay"):
                # Its day in the series' zone; the original start stays that midnight in UTC.
                day = start.astimezone(home).date()
                item.update({"start": day_time(day), "end": day_time(day + datetime.timedelta(days=days))})
            changed = master["_exceptions"].get(key)
            if changed is not None:
                item.update(copy.deepcopy(changed))
                item["type"] = "exception"
            begins, ends = span(item)
            if begins < high and ends > low:
                out.append(item)
        return out

    def view(self, calendar, low, high):
        """A calendar view: single events and instances overlapping [low, high)."""
        out = []
        for event in self.events.get(calendar, {}).values():
            if event["type"] == "seriesMaster":
                out.extend(self.instances(event, low, high))
            elif span(event)[0] < high and span(event)[1] > low:
                out.append(event)
        return out


STATE = State("")


def utc_text(value):
    """A Graph date-time text cut to seconds, for comparisons."""
    return (value or "")[:19]


def served(item):
    """A resource as Graph sends it: times in UTC, no private parts, its W/ etag."""
    out = {k: v for k, v in item.items() if not k.startswith("_")}
    for key in ("start", "end"):
        if key in out and out[key].get("dateTime"):
            out[key] = day_time(written_day(out[key])) if out.get("isAllDay") else utc_time(read_time(out[key]))
    if out.get("isAllDay"):
        out["originalStartTimeZone"] = out["originalEndTimeZone"] = "UTC"
    out["@odata.etag"] = 'W/"%s"' % out.get("changeKey", "")
    return out


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body=None, headers=None):
        data = b"" if body is None else json.dumps(body).encode()
        garbled = next((g for g in STATE.garbled if g[0] in self.path), None)
        if garbled and 200 <= status < 300 and data:
            garbled[1] -= 1
            if garbled[1] <= 0:
                STATE.garbled.remove(garbled)
            data = data[:len(data) // 2]
        self.send_response(status)
        for key, value in (headers or {}).items():
            self.send_header(key, value)
        if status in (429, 503):
            self.send_header("Retry-After", str(STATE.retry_after))
        if body is not None:
            self.send_header("Content-Type", "application/json; charset=utf-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def error(self, status, code, message=""):
        self.reply(status, {"error": {"code": code, "message": message or code}})

    def handle_any(self):
        return fakeprovider.handle(self, STATE, LOCK, [("ifMatch", "If-Match"), ("prefer", "Prefer"),
                                                       ("authorization", "Authorization")])

    do_GET = do_POST = do_PATCH = do_DELETE = handle_any

    # --- the control API --------------------------------------------------
    def control(self, what, raw):
        data = json.loads(raw) if raw else {}
        if what == "events":
            # Seeded and changed as another client would: a master gets its
            # type, a change of its pattern or times drops its exceptions.
            out = []
            events = STATE.events.setdefault(data["calendar"], {})
            for item in data["items"]:
                current = events.get(item.get("id"))
                if current is None:
                    out.append(served(STATE.put_event(data["calendar"], item)))
                else:
                    self.merge(data["calendar"], current, item)
                    out.append(served(current))
            return self.reply(200, {"items": out})
        answer = fakeprovider.control(STATE, what, data)
        if answer is not None:
            return self.reply(200, answer)
        if what == "remove":
            for event_id in data["ids"]:
                STATE.remove_event(data["calendar"], event_id)
        elif what == "dump":
            # As stored: the zone each event was written in shows.
            return self.reply(200, {"items": [{k: v for k, v in e.items() if not k.startswith("_")}
                                              for e in STATE.events.get(data.get("calendar"), {}).values()]})
        elif what == "view":
            low, high = read_query_time(data["start"]), read_query_time(data["end"])
            return self.reply(200, {"items": [served(e) for e in STATE.view(data["calendar"], low, high)]})
        elif what == "expire-delta-tokens":
            STATE.delta_tokens.clear()
        elif what == "garble":
            STATE.garbled.append([data["path"], data.get("count", 1)])
        else:
            return self.error(404, "noSuchControl")
        return self.reply(200, {})

    # --- identity ------------------------------------------------------------
    def route(self, raw):
        path = self.url_path
        if path == "/common/oauth2/v2.0/authorize":
            return self.authorize()
        if path == "/common/oauth2/v2.0/token" and self.command == "POST":
            return self.token(dict(urllib.parse.parse_qsl(raw.decode())))
        if not path.startswith(PREFIX + "/me/"):
            return self.error(404, "ResourceNotFound")
        auth = self.headers.get("Authorization", "")
        if not auth.startswith("Bearer ") or auth[7:] not in STATE.access_tokens:
            return self.error(401, "InvalidAuthenticationToken")
        parts = [urllib.parse.unquote(p) for p in path[len(PREFIX + "/me/"):].split("/")]
        if parts == ["calendars"] and self.command == "GET":
            return self.calendar_list()
        if len(parts) >= 3 and parts[0] == "calendars":
            calendar = parts[1]
            if calendar not in STATE.events:
                return self.error(404, "ErrorItemNotFound")
            if parts[2:] == ["calendarView", "delta"] and self.command == "GET":
                return self.view_delta(calendar)
            if parts[2] != "events":
                return self.error(400, "BadRequest")
            if len(parts) == 3:
                if self.command == "GET":
                    return self.list_events(calendar)
                if self.command == "POST":
                    body = self.resource(raw)
                    if body is None:
                        return self.error(400, "ErrorInvalidRequest")
                    problem = self.invalid(body)
                    if problem:
                        return self.error(400, "ErrorInvalidRequest", problem)
                    return self.reply(201, served(STATE.put_event(calendar, body)))
            elif parts[3] == "delta" and len(parts) == 4:
                # Change tracking on a calendar's events is a beta feature.
                return self.error(400, "BadRequest", "Resource not found for the segment 'delta'.")
            elif len(parts) == 5 and parts[4] == "instances" and self.command == "GET":
                return self.series_instances(calendar, parts[3])
            elif len(parts) == 4:
                return self.one_event(calendar, parts[3], raw)
        return self.error(405, "ErrorInvalidRequest")

    def authorize(self):
        q = self.query
        if q.get("code_challenge_method") != "S256" or not q.get("code_challenge"):
            return self.error(400, "invalid_request", "PKCE required")
        code = "code-" + secrets.token_hex(8)
        redirect = q.get("redirect_uri", "")
        STATE.codes[code] = (q["code_challenge"], redirect)
        target = redirect + "?" + urllib.parse.urlencode({"code": code, "state": q.get("state", "")})
        self.send_response(302)
        self.send_header("Location", target)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def token(self, form):
        def fail(status, error):
            self.reply(status, {"error": error})
        if form.get("client_id") != STATE.client_id:
            return fail(401, "invalid_client")
        grant = form.get("grant_type")
        if grant == "authorization_code":
            entry = STATE.codes.pop(form.get("code", ""), None)
            if entry is None:
                return fail(400, "invalid_grant")
            challenge, redirect = entry
            if s256(form.get("code_verifier", "")) != challenge or form.get("redirect_uri") != redirect:
                return fail(400, "invalid_grant")
        elif grant == "refresh_token":
            if form.get("refresh_token", "") not in STATE.refresh_tokens:
                return fail(400, "invalid_grant")
        else:
            return fail(400, "unsupported_grant_type")
        refresh = "rt-" + secrets.token_hex(8)
        STATE.refresh_tokens.add(refresh)
        return self.reply(200, {"access_token": STATE.new_access_token(), "refresh_token": refresh,
                                "expires_in": 3600, "token_type": "Bearer"})

    # --- Graph ---------------------------------------------------------------
    def link(self, path, query):
        host = STATE.link_host or self.headers.get("Host", "127.0.0.1")
        return "http://%s%s?%s" % (host, path, urllib.parse.urlencode(query, safe="$"))

    def page_size(self):
        size = STATE.event_page_size
        match = re.search(r"odata\.maxpagesize=(\d+)", self.headers.get("Prefer", ""))
        if match:
            size = min(size, int(match.group(1)))
        if "$top" in self.query:
            size = min(size, int(self.query["$top"]))
        return max(1, size)

    def calendar_list(self):
        size = STATE.calendar_page_size
        skip = int(self.query.get("$skip", 0))
        out = {"value": STATE.calendars[skip:skip + size]}
        if skip + size < len(STATE.calendars):
            out["@odata.nextLink"] = self.link(self.url_path, {"$skip": skip + size})
        self.reply(200, out)

    def list_events(self, calendar):
        q = self.query
        chosen = [served(e) for e in STATE.events[calendar].values()]
        filt = q.get("$filter")
        if filt:
            match = re.fullmatch(r"start/dateTime ge '([^']+)' and end/dateTime le '([^']+)'", filt)
            if not match:
                return self.error(400, "ErrorInvalidUrlQueryFilter")
            low, high = utc_text(match.group(1)), utc_text(match.group(2))
            chosen = [e for e in chosen if utc_text(e["start"]["dateTime"]) >= low
                      and utc_text(e["end"]["dateTime"]) <= high]
        chosen.sort(key=lambda e: (utc_text(e["start"]["dateTime"]), e["id"]))
        size = self.page_size()
        skip = int(q.get("$skip", 0))
        out = {"value": chosen[skip:skip + size]}
        if skip + size < len(chosen):
            following = dict(q)
            following["$skip"] = skip + size
            out["@odata.nextLink"] = self.link(self.url_path, following)
        self.reply(200, out)

    def view_delta(self, calendar):
        q = self.query
        if "$skiptoken" in q:
            round_id, offset = q["$skiptoken"].rsplit("-", 1)
            if round_id not in STATE.rounds:
                return self.error(410, "syncStateNotFound", "The sync state is no longer valid.")
            _, low, high, changes, snapshot = STATE.rounds[round_id]
            offset = int(offset)
        else:
            if "$deltatoken" in q:
                known = STATE.delta_tokens.get(q["$deltatoken"])
                if known is None or known[0] != calendar:
                    return self.error(410, "syncStateNotFound", "The sync state is no longer valid.")
                _, low, high, before = known
            elif "startDateTime" in q and "endDateTime" in q:
                low, high, before = read_query_time(q["startDateTime"]), read_query_time(q["endDateTime"]), {}
            else:
                return self.error(400, "ErrorInvalidParameter", "startDateTime and endDateTime are required.")
            now = STATE.view(calendar, low, high)
            snapshot = {item["id"]: item["changeKey"] for item in now}
            changes = [served(item) for item in now if before.get(item["id"]) != item["changeKey"]]
            changes += [{"id": gone, "@removed": {"reason": "deleted"}} for gone in before if gone not in snapshot]
            round_id = "r" + secrets.token_hex(6)
            STATE.rounds[round_id] = (calendar, low, high, changes, snapshot)
            offset = 0
        size = self.page_size()
        out = {"value": changes[offset:offset + size]}
        if offset + size < len(changes):
            out["@odata.nextLink"] = self.link(self.url_path, {"$skiptoken": "%s-%d" % (round_id, offset + size)})
        else:
            token = "d" + secrets.token_hex(6)
            STATE.delta_tokens[token] = (calendar, low, high, snapshot)
            out["@odata.deltaLink"] = self.link(self.url_path, {"$deltatoken": token})
        self.reply(200, out)

    def series_instances(self, calendar, master_id):
        master = STATE.events[calendar].get(master_id)
        if master is None:
            return self.error(404, "ErrorItemNotFound")
        if master["type"] != "seriesMaster":
            return self.reply(200, {"value": []})
        low, high = read_query_time(self.query["startDateTime"]), read_query_time(self.query["endDateTime"])
        self.reply(200, {"value": [served(item) for item in STATE.instances(master, low, high)]})

    def resource(self, raw):
        try:
            body = json.loads(raw)
        except ValueError:
            return None
        if not isinstance(body, dict):
            return None
        for key in ("id", "changeKey", "lastModifiedDateTime", "type", "seriesMasterId", "originalStart"):
            body.pop(key, None)
        return {k: v for k, v in body.items() if not k.startswith("_") and not k.startswith("@")}

    def invalid(self, body):
        """What Graph would refuse in times and a recurrence, as its documentation lists it."""
        if body.get("isAllDay"):
            start, end = body.get("start", {}), body.get("end", {})
            times = [value.get("dateTime", "")[11:19] for value in (start, end)]
            if any(t not in ("", "00:00:00") for t in times) or start.get("timeZone") != end.get("timeZone"):
                return "an all-day event starts and ends at midnight in one zone"
            if written_day(end) <= written_day(start):
                return "an all-day event lasts at least a day"
        recurrence = body.get("recurrence")
        if not recurrence:
            return None
        pattern = recurrence.get("pattern", {})
        if pattern.get("interval", 0) < 1:
            return "interval must be at least 1"
        if pattern.get("type") in ("weekly", "relativeMonthly", "relativeYearly") and not pattern.get("daysOfWeek"):
            return "daysOfWeek is required"
        if pattern.get("type") in ("absoluteMonthly", "absoluteYearly") and not 1 <= pattern.get("dayOfMonth", 0) <= 31:
            return "dayOfMonth must be between 1 and 31"
        if recurrence.get("range", {}).get("type") not in ("endDate", "noEnd", "numbered"):
            return "range type is required"
        return None

    def merge(self, calendar, current, body):
        """A PATCH of a single event or series master."""
        reshaped = any(key in body and body[key] != current.get(key) for key in ("recurrence", "start", "end"))
        for key, value in body.items():
            if value is None:
                current.pop(key, None)
            else:
                current[key] = value
        current["type"] = "seriesMaster" if current.get("recurrence") else "singleInstance"
        if reshaped:
            current["_exceptions"], current["_cancelled"] = {}, []
        STATE.bump(calendar, current)

    @staticmethod
    def matches(header, change_key):
        # If-Match carries the entity tag, "@odata.etag", not the bare change key.
        return not header or header in ("*", 'W/"%s"' % change_key)

    def one_event(self, calendar, event_id, raw):
        current = STATE.events[calendar].get(event_id)
        if current is None:
            return self.one_instance(calendar, event_id, raw)
        if self.command == "GET":
            return self.reply(200, served(current))
        if not self.matches(self.headers.get("If-Match"), current["changeKey"]):
            return self.error(412, "ErrorIrresolvableConflict")
        if self.command == "DELETE":
            STATE.remove_event(calendar, event_id)
            return self.reply(204)
        if self.command != "PATCH":
            return self.error(405, "ErrorInvalidRequest")
        body = self.resource(raw)
        if body is None:
            return self.error(400, "ErrorInvalidRequest")
        merged = dict(current)
        merged.update(body)
        problem = self.invalid(merged)
        if problem:
            return self.error(400, "ErrorInvalidRequest", problem)
        self.merge(calendar, current, body)
        self.reply(200, served(current))

    def one_instance(self, calendar, instance_id, raw):
        found = STATE.instance(calendar, instance_id)
        if found is None:
            return self.error(404, "ErrorItemNotFound")
        master, key = found
        start = datetime.datetime.strptime(key, "%Y%m%dT%H%M%SZ").replace(tzinfo=UTC)
        current = next((i for i in STATE.instances(master, start - datetime.timedelta(days=400),
                                                   start + datetime.timedelta(days=400))
                        if i["id"] == instance_id), None)
        if current is None:
            return self.error(404, "ErrorItemNotFound")
        if self.command == "GET":
            return self.reply(200, served(current))
        if not self.matches(self.headers.get("If-Match"), current["changeKey"]):
            return self.error(412, "ErrorIrresolvableConflict")
        if self.command == "DELETE":
            STATE.remove_event(calendar, instance_id)
            return self.reply(204)
        if self.command != "PATCH":
            return self.error(405, "ErrorInvalidRequest")
        body = self.resource(raw)
        if body is None or "recurrence" in body:
            return self.error(400, "ErrorInvalidRequest")
        # A changed occurrence is an exception of its series from now on.
        changed = master["_exceptions"].setdefault(key, {})
        changed.update(body)
        changed["changeKey"] = STATE.new_key()
        changed["lastModifiedDateTime"] = time.strftime("%Y-%m-%dT%H:%M:%S.0000000Z", time.gmtime())
        current.update(copy.deepcopy(changed))
        current["type"] = "exception"
        self.reply(200, served(current))


def main():
    args = dict(a.split("=", 1) for a in sys.argv[1:] if "=" in a)
    global STATE
    STATE = State(args.get("--client-id", "test-client"))
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
