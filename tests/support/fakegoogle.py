#!/usr/bin/python3
"""A stand-in for Google's OAuth and Calendar v3 endpoints on 127.0.0.1.

It behaves as the public documentation describes the parts the program uses:
the authorization-code flow with PKCE (S256) and refresh (with or without
rotation: a rotated refresh token is refused the second time), the calendar
list and event listings with pages and sync tokens (410 "fullSyncRequired"
for a token it no longer knows), inserts, PUT as a full replace and PATCH as
a merge, both with If-Match (412 on a stale ETag), and deletions that leave
the event listed as "cancelled". An insert may name the event's id (409 when
it is taken). A recurring event keeps its `recurrence`
lines (RRULE, EXDATE, RDATE) as written; its instances (events.instances,
with `originalStart`) are expanded from them, and an instance changed or
cancelled becomes an exception of its own, listed with `recurringEventId`
and `originalStartTime`. An all-day event has `start.date` and an exclusive
`end.date` (at least a day later; a start and end of different kinds, or an
empty range, is refused with 400); its instances are named by their dates
(`<id>_yyyymmdd`, `originalStartTime.date`). Injected failures may carry headers (429 with
Retry-After) or a raw 2xx body. Microsoft's token endpoint shape is served
too, for the sign-in tests.

Tests steer it through /_control/...: seed data, change events behind the
client's back, inject failures (status, delay, dropped connection) and read
the request log. Prints the port it listens on, then serves until killed.
"""
import base64
import datetime
import json
import secrets
import sys
import threading
import time
import urllib.parse
import zoneinfo
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from dateutil import rrule

import fakeprovider
from fakeprovider import s256

LOCK = threading.RLock()


class State:
    settings = ("rotate", "deny", "expires_in", "calendar_page_size", "event_page_size",
                "repeat_calendar_page_token", "repeat_event_page_token", "email")

    def __init__(self, client_id, client_secret):
        self.client_id = client_id
        self.client_secret = client_secret
        self.reset()

    def reset(self):
        self.seq = 0
        self.calendars = []          # calendar-list entries, in order
        self.events = {}             # calendar id -> {event id -> resource}
        self.changed = {}            # (calendar id, event id) -> seq of last change
        self.sync_tokens = set()     # tokens still accepted
        self.codes = {}              # code -> (challenge, redirect_uri, client_id)
        self.access_tokens = set()
        self.refresh_tokens = set()
        self.rotate = False
        self.deny = None             # an "error" for the authorization redirect
        self.expires_in = 3600
        self.calendar_page_size = 100
        self.event_page_size = 2500
        self.repeat_calendar_page_token = False
        self.repeat_event_page_token = False  # a broken server: the first page token over and over
        self.failures = []           # injected failures, consumed in order
        self.log = []
        self.email = "user@example.test"

    def bump(self, calendar, event):
        self.seq += 1
        event["etag"] = '"%d"' % self.seq
        event["updated"] = time.strftime("%Y-%m-%dT%H:%M:%S.000Z", time.gmtime())
        self.changed[(calendar, event["id"])] = self.seq

    def put_event(self, calendar, event):
        event = dict(event)
        event.setdefault("id", secrets.token_hex(8))
        event.setdefault("status", "confirmed")
        self.events.setdefault(calendar, {})[event["id"]] = event
        self.bump(calendar, event)
        return event

    def new_access_token(self):
        token = "at-" + secrets.token_hex(8)
        self.access_tokens.add(token)
        return token

    def id_token(self):
        def part(obj):
            raw = json.dumps(obj).encode()
            return base64.urlsafe_b64encode(raw).decode().rstrip("=")
        return part({"alg": "none"}) + "." + part({"email": self.email, "name": "Test User",
                                                   "preferred_username": self.email}) + ".sig"


STATE = State("", "")



class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    # --- plumbing -------------------------------------------------------
    def reply(self, status, body=None, headers=None):
        data = b"" if body is None else (body if isinstance(body, bytes) else json.dumps(body).encode())
        if getattr(self, "garble", False):
            self.garble = False
            data = data[:len(data) // 2]
        self.send_response(status)
        for key, value in (headers or {}).items():
            self.send_header(key, value)
        if body is not None and not isinstance(body, bytes):
            self.send_header("Content-Type", "application/json; charset=UTF-8")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def error(self, status, message):
        self.reply(status, {"error": {"code": status, "message": message}})

    def handle_any(self):
        return fakeprovider.handle(self, STATE, LOCK, [("ifMatch", "If-Match")])

    do_GET = do_POST = do_PUT = do_PATCH = do_DELETE = handle_any

    # --- the control API --------------------------------------------------
    def control(self, what, raw):
        data = json.loads(raw) if raw else {}
        answer = fakeprovider.control(STATE, what, data)
        if answer is not None:
            return self.reply(200, answer)
        if what == "dump":
            return self.reply(200, {"items": list(STATE.events.get(self.query.get("calendar"), {}).values())})
        elif what == "expire-sync-tokens":
            STATE.sync_tokens.clear()
            if data.get("purge"):           # deleted events are no longer listed after a while
                for events in STATE.events.values():
                    for key in [k for k, e in events.items() if e["status"] == "cancelled"]:
                        del events[key]
        elif what == "expire-access-tokens":
            STATE.access_tokens.clear()
        else:
            return self.error(404, "no such control")
        return self.reply(200, {})

    # --- OAuth -------------------------------------------------------------
    def route(self, raw):
        path = self.url_path
        if path in ("/o/oauth2/v2/auth", "/common/oauth2/v2.0/authorize"):
            return self.authorize()
        if path in ("/token", "/common/oauth2/v2.0/token") and self.command == "POST":
            return self.token(dict(urllib.parse.parse_qsl(raw.decode())))
        if not path.startswith("/calendar/v3/"):
            return self.error(404, "not found")
        auth = self.headers.get("Authorization", "")
        if not auth.startswith("Bearer ") or auth[7:] not in STATE.access_tokens:
            return self.error(401, "Invalid Credentials")
        parts = [urllib.parse.unquote(p) for p in path[len("/calendar/v3/"):].split("/")]
        if parts == ["users", "me", "calendarList"] and self.command == "GET":
            return self.calendar_list()
        if len(parts) >= 3 and parts[0] == "calendars" and parts[2] == "events":
            calendar = parts[1]
            if calendar not in STATE.events:
                return self.error(404, "Not Found")
            if len(parts) == 3:
                if self.command == "GET":
                    return self.list_events(calendar)
                if self.command == "POST":
                    body = self.resource(raw, None)
                    if body is None:
                        return self.error(400, "Parse Error")
                    if body.get("id") in STATE.events[calendar]:   # a client-chosen id must be new
                        return self.error(409, "The requested identifier already exists.")
                    if empty_range(body):
                        return self.error(400, "The specified time range is empty.")
                    return self.reply(200, STATE.put_event(calendar, body))
            elif len(parts) == 4:
                return self.one_event(calendar, parts[3], raw)
            elif len(parts) == 5 and parts[4] == "instances" and self.command == "GET":
                return self.instances(calendar, parts[3])
        return self.error(405, "method not allowed")

    def authorize(self):
        q = self.query
        redirect = q.get("redirect_uri", "")
        if STATE.deny:
            target = redirect + "?" + urllib.parse.urlencode({"error": STATE.deny, "error_description": "The user said no",
                                                             "state": q.get("state", "")})
        else:
            if q.get("code_challenge_method") != "S256" or not q.get("code_challenge"):
                return self.error(400, "PKCE required")
            code = "code-" + secrets.token_hex(8)
            STATE.codes[code] = (q["code_challenge"], redirect, q.get("client_id"))
            target = redirect + "?" + urllib.parse.urlencode({"code": code, "state": q.get("state", "")})
        self.reply(302, b"", {"Location": target})

    def token(self, form):
        def fail(status, error):
            self.reply(status, {"error": error})
        if form.get("client_id") != STATE.client_id:
            return fail(401, "invalid_client")
        microsoft = self.url_path.startswith("/common/")
        if not microsoft and form.get("client_secret") != STATE.client_secret:
            return fail(401, "invalid_client")
        grant = form.get("grant_type")
        if grant == "authorization_code":
            entry = STATE.codes.pop(form.get("code", ""), None)
            if entry is None:
                return fail(400, "invalid_grant")
            challenge, redirect, client = entry
            if s256(form.get("code_verifier", "")) != challenge or form.get("redirect_uri") != redirect:
                return fail(400, "invalid_grant")
            refresh = "rt-" + secrets.token_hex(8)
            STATE.refresh_tokens.add(refresh)
            return self.reply(200, {"access_token": STATE.new_access_token(), "refresh_token": refresh,
                                    "id_token": STATE.id_token(), "expires_in": STATE.expires_in,
                                    "token_type": "Bearer"})
        if grant == "refresh_token":
            refresh = form.get("refresh_token", "")
            if refresh not in STATE.refresh_tokens:
                return fail(400, "invalid_grant")
            out = {"access_token": STATE.new_access_token(), "expires_in": STATE.expires_in, "token_type": "Bearer"}
            if STATE.rotate:
                STATE.refresh_tokens.discard(refresh)
                out["refresh_token"] = "rt-" + secrets.token_hex(8)
                STATE.refresh_tokens.add(out["refresh_token"])
            return self.reply(200, out)
        return fail(400, "unsupported_grant_type")

    # --- Calendar v3 -------------------------------------------------------
    def calendar_list(self):
        size = STATE.calendar_page_size
        start = int(self.query.get("pageToken", "cl-0")[3:] or 0)
        page = STATE.calendars[start:start + size]
        out = {"kind": "calendar#calendarList", "items": page}
        if start + size < len(STATE.calendars):
            out["nextPageToken"] = "cl-%d" % (0 if STATE.repeat_calendar_page_token else start + size)
        self.reply(200, out)

    def list_events(self, calendar):
        q = self.query
        token = q.get("syncToken")
        if token is not None and token not in STATE.sync_tokens:
            message = "Sync token is no longer valid, a full sync is required."
            return self.reply(410, {"error": {"errors": [{"domain": "calendar", "reason": "fullSyncRequired",
                                                          "message": message}],
                                              "code": 410, "message": message}})
        # Google refuses these with a sync token: the state it names would not be the listing's.
        clashing = ("timeMin", "timeMax", "orderBy", "q", "iCalUID", "updatedMin", "privateExtendedProperty",
                    "sharedExtendedProperty")
        if token is not None and any(key in q for key in clashing):
            return self.error(400, "Invalid sync token parameters.")
        if token is not None and q.get("showDeleted") == "false":
            return self.error(400, "showDeleted cannot be false with a sync token.")
        since = int(token[3:]) if token else 0
        # A page token fixes the listing's snapshot and position.
        if "pageToken" in q:
            _, offset, snapshot = q["pageToken"].split("-")
            offset, snapshot = int(offset), int(snapshot)
        else:
            offset, snapshot = 0, STATE.seq
        events = STATE.events[calendar].values()
        chosen = [e for e in events if since < STATE.changed[(calendar, e["id"])] <= snapshot
                  and (token or q.get("showDeleted") == "true" or e["status"] != "cancelled")]
        chosen.sort(key=lambda e: STATE.changed[(calendar, e["id"])])
        size = min(int(q.get("maxResults", 250)), 2500, STATE.event_page_size)
        page = chosen[offset:offset + size]
        out = {"kind": "calendar#events", "items": page}
        if offset + size < len(chosen):
            out["nextPageToken"] = "p-%d-%d" % (size if STATE.repeat_event_page_token else offset + size, snapshot)
        else:
            sync = "st-%d" % snapshot
            STATE.sync_tokens.add(sync)
            out["nextSyncToken"] = sync
        self.reply(200, out)

    def resource(self, raw, event_id):
        try:
            body = json.loads(raw)
        except ValueError:
            body = None
        if not isinstance(body, dict):
            return None
        for key in ("etag", "updated", "kind"):
            body.pop(key, None)
        if event_id:
            body["id"] = event_id
        return body

    def instances(self, calendar, series_id):
        series = STATE.events[calendar].get(series_id)
        if series is None or "recurrence" not in series:
            return self.error(404, "Not Found")
        found = expand(calendar, series)
        wanted = self.query.get("originalStart")
        if wanted:
            found = [i for i in found if same_start(i["originalStartTime"], wanted)]
        if self.query.get("showDeleted") != "true":
            found = [i for i in found if i["status"] != "cancelled"]
        self.reply(200, {"kind": "calendar#events", "items": found})

    def one_event(self, calendar, event_id, raw):
        current = STATE.events[calendar].get(event_id)
        if current is None and self.command in ("PATCH", "PUT", "DELETE"):
            current = materialize(calendar, event_id)
        if self.command == "GET":
            return self.reply(200, current) if current else self.error(404, "Not Found")
        if current is None:
            return self.error(404, "Not Found")
        if current["status"] == "cancelled":
            return self.error(410, "Resource has been deleted")
        match = self.headers.get("If-Match")
        if match and match != current["etag"]:
            return self.error(412, "Precondition Failed")
        if self.command == "DELETE":
            if current.get("recurringEventId"):     # a cancelled instance says only which one it was
                for key in [k for k in current if k not in ("id", "recurringEventId", "originalStartTime")]:
                    del current[key]
            current["status"] = "cancelled"
            STATE.bump(calendar, current)
            return self.reply(204)
        body = self.resource(raw, event_id)
        if body is None:
            return self.error(400, "Parse Error")
        if self.command not in ("PUT", "PATCH"):
            return self.error(405, "method not allowed")
        if empty_range(body if self.command == "PUT" else dict(current, **body)):
            return self.error(400, "The specified time range is empty.")
        if self.command == "PUT":
            body.setdefault("status", "confirmed")
            current.clear()
        current.update(body)
        STATE.bump(calendar, current)
        self.reply(200, current)


def parse_start(value):
    """A start or end object as an aware datetime, or a date."""
    if "date" in value:
        return datetime.date.fromisoformat(value["date"])
    text = value["dateTime"].replace("Z", "+00:00")
    moment = datetime.datetime.fromisoformat(text)
    if moment.tzinfo is None:
        moment = moment.replace(tzinfo=zoneinfo.ZoneInfo(value.get("timeZone") or "UTC"))
    return moment


def empty_range(event):
    """Whether an event's times are of two kinds or end no later than they start."""
    if "start" not in event or "end" not in event:
        return False
    try:
        start, end = parse_start(event["start"]), parse_start(event["end"])
        return type(start) is not type(end) or end <= start
    except (KeyError, ValueError):
        return True


def start_object(moment, zone):
    if isinstance(moment, datetime.datetime):
        return {"dateTime": moment.astimezone(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ"),
                "timeZone": zone or "UTC"}
    return {"date": moment.isoformat()}


def instance_key(moment):
    if isinstance(moment, datetime.datetime):
        return moment.astimezone(datetime.timezone.utc).strftime("%Y%m%dT%H%M%SZ")
    return moment.strftime("%Y%m%d")


def same_start(original, wanted):
    if "date" in original:
        return original["date"] == wanted[:10]
    return parse_start(original) == parse_start({"dateTime": wanted})


def occurrence_starts(series, limit=800):
    """The starts the series' recurrence lines give, in the series' zone."""
    start = parse_start(series["start"])
    zone = series["start"].get("timeZone") or "UTC"
    all_day = not isinstance(start, datetime.datetime)
    dtstart = (datetime.datetime.combine(start, datetime.time()) if all_day
               else start.astimezone(zoneinfo.ZoneInfo(zone)))
    lines = "\n".join(series.get("recurrence", []))
    rules = rrule.rrulestr(lines, dtstart=dtstart, forceset=True, unfold=True, ignoretz=False,
                           tzinfos=lambda name, offset: zoneinfo.ZoneInfo(name) if name else None)
    out = []
    for moment in rules:
        if len(out) >= limit:
            break
        out.append(moment.date() if all_day else moment.astimezone(zoneinfo.ZoneInfo(zone)))
    return out


def virtual_instance(series, moment):
    start = parse_start(series["start"])
    end = parse_start(series["end"])
    zone = series["start"].get("timeZone")
    item = {k: v for k, v in series.items() if k not in ("recurrence", "id", "updated")}
    item["id"] = series["id"] + "_" + instance_key(moment)
    item["recurringEventId"] = series["id"]
    item["originalStartTime"] = start_object(moment, zone)
    item["start"] = start_object(moment, zone)
    item["end"] = start_object(moment + (end - start), zone)
    return item


def expand(calendar, series):
    """The instances of a series: stored exceptions where there are any."""
    exceptions = {e["id"]: e for e in STATE.events[calendar].values() if e.get("recurringEventId") == series["id"]}
    out = []
    for moment in occurrence_starts(series):
        item = virtual_instance(series, moment)
        out.append(exceptions.pop(item["id"], item))
    return out + [e for e in exceptions.values() if e["status"] == "cancelled"]


def materialize(calendar, event_id):
    """An instance written for the first time becomes an exception of its series."""
    series_id, _, key = event_id.rpartition("_")
    series = STATE.events[calendar].get(series_id)
    if not series or "recurrence" not in series:
        return None
    for moment in occurrence_starts(series):
        if instance_key(moment) == key:
            item = virtual_instance(series, moment)     # keeps the version it was listed with
            STATE.events[calendar][item["id"]] = item
            STATE.changed[(calendar, item["id"])] = STATE.changed[(calendar, series_id)]
            return item
    return None


def main():
    args = dict(a.split("=", 1) for a in sys.argv[1:] if "=" in a)
    global STATE
    STATE = State(args.get("--client-id", "test-client"), args.get("--client-secret", "test-secret"))
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
