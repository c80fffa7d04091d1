#!/usr/bin/python3
"""A stand-in for Microsoft Graph v1.0 calendars and the Microsoft identity
token endpoint on 127.0.0.1.

It behaves as the public documentation describes the parts the program uses:
the authorization-code flow with PKCE (S256) and refresh, the calendar list
with "@odata.nextLink" pages, event listings with a "$filter" window on the
start and end, "$top" and "Prefer: odata.maxpagesize" pages, delta queries
ending in "@odata.deltaLink" whose later rounds report deletions as
"@removed" (410 for a delta token it no longer knows), POST, PATCH as a
merge and DELETE, each write with If-Match on the change key (412 when it is
stale). Every event carries a new "changeKey" after each change.

Tests steer it through /_control/...: seed calendars and events, change or
remove events behind the client's back, expire delta tokens, inject
failures and read the request log. Prints the port it listens on, then
serves until killed.
"""
import json
import re
import secrets
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

import fakeprovider
from fakeprovider import s256

LOCK = threading.RLock()
PREFIX = "/v1.0"


class State:
    settings = ("calendar_page_size", "event_page_size", "link_host")

    def __init__(self, client_id):
        self.client_id = client_id
        self.reset()

    def reset(self):
        self.seq = 0
        self.calendars = []          # calendar objects, in order
        self.events = {}             # calendar id -> {event id -> resource}
        self.changed = {}            # (calendar id, event id) -> seq of last change
        self.removed = {}            # calendar id -> {event id -> seq of removal}
        self.delta_tokens = set()    # tokens still accepted
        self.codes = {}              # code -> (challenge, redirect_uri)
        self.access_tokens = set()
        self.refresh_tokens = set()
        self.calendar_page_size = 10
        self.event_page_size = 50    # the server's cap on any page
        self.link_host = None        # another host for next and delta links
        self.failures = []
        self.log = []

    def bump(self, calendar, event):
        self.seq += 1
        event["changeKey"] = "ck-%d" % self.seq
        event["lastModifiedDateTime"] = time.strftime("%Y-%m-%dT%H:%M:%S.0000000Z", time.gmtime())
        self.changed[(calendar, event["id"])] = self.seq

    def put_event(self, calendar, event):
        event = dict(event)
        event.setdefault("id", "AAMk" + secrets.token_hex(8))
        self.events.setdefault(calendar, {})[event["id"]] = event
        self.removed.get(calendar, {}).pop(event["id"], None)
        self.bump(calendar, event)
        return event

    def remove_event(self, calendar, event_id):
        self.events[calendar].pop(event_id, None)
        self.changed.pop((calendar, event_id), None)
        self.seq += 1
        self.removed.setdefault(calendar, {})[event_id] = self.seq

    def new_access_token(self):
        token = "at-" + secrets.token_hex(8)
        self.access_tokens.add(token)
        return token


STATE = State("")



def utc_text(value):
    """A Graph date-time text cut to seconds, for comparisons."""
    return (value or "")[:19]


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body=None, headers=None):
        data = b"" if body is None else json.dumps(body).encode()
        self.send_response(status)
        for key, value in (headers or {}).items():
            self.send_header(key, value)
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
        answer = fakeprovider.control(STATE, what, data)
        if answer is not None:
            return self.reply(200, answer)
        if what == "remove":
            for event_id in data["ids"]:
                STATE.remove_event(data["calendar"], event_id)
        elif what == "dump":
            return self.reply(200, {"items": list(STATE.events.get(data.get("calendar"), {}).values())})
        elif what == "expire-delta-tokens":
            STATE.delta_tokens.clear()
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
        if len(parts) >= 3 and parts[0] == "calendars" and parts[2] == "events":
            calendar = parts[1]
            if calendar not in STATE.events:
                return self.error(404, "ErrorItemNotFound")
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
                    return self.reply(201, STATE.put_event(calendar, body))
            elif parts[3] == "delta" and len(parts) == 4 and self.command == "GET":
                return self.delta(calendar)
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
        chosen = list(STATE.events[calendar].values())
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

    def delta(self, calendar):
        q = self.query
        if "$deltatoken" in q:
            token = q["$deltatoken"]
            if token not in STATE.delta_tokens:
                return self.error(410, "SyncStateNotFound", "The sync state is no longer valid.")
            since, snapshot, skip = int(token[2:]), STATE.seq, 0
        elif "$skiptoken" in q:
            since, snapshot, skip = (int(x) for x in q["$skiptoken"].split("-"))
        else:
            since, snapshot, skip = 0, STATE.seq, 0
        changes = [(STATE.changed[(calendar, e["id"])], e) for e in STATE.events[calendar].values()
                   if since < STATE.changed[(calendar, e["id"])] <= snapshot]
        if since:
            changes += [(seq, {"@odata.type": "#microsoft.graph.event", "id": event_id,
                               "@removed": {"reason": "deleted"}})
                        for event_id, seq in STATE.removed.get(calendar, {}).items() if since < seq <= snapshot]
        changes.sort(key=lambda pair: pair[0])
        size = self.page_size()
        out = {"value": [item for _, item in changes[skip:skip + size]]}
        if skip + size < len(changes):
            out["@odata.nextLink"] = self.link(self.url_path, {"$skiptoken": "%d-%d-%d" % (since, snapshot,
                                                                                            skip + size)})
        else:
            token = "d-%d" % snapshot
            STATE.delta_tokens.add(token)
            out["@odata.deltaLink"] = self.link(self.url_path, {"$deltatoken": token})
        self.reply(200, out)

    def resource(self, raw):
        try:
            body = json.loads(raw)
        except ValueError:
            return None
        if not isinstance(body, dict):
            return None
        for key in ("id", "changeKey", "lastModifiedDateTime"):
            body.pop(key, None)
        return body

    def invalid(self, body):
        """What Graph would refuse in a recurrence, as its documentation lists it."""
        recurrence = body.get("recurrence")
        if not recurrence:
            return None
        pattern = recurrence.get("pattern", {})
        if pattern.get("interval", 0) < 1:
            return "interval must be at least 1"
        if pattern.get("type") in ("weekly", "relativeMonthly", "relativeYearly") and not pattern.get("daysOfWeek"):
            return "daysOfWeek is required"
        if recurrence.get("range", {}).get("type") not in ("endDate", "noEnd", "numbered"):
            return "range type is required"
        return None

    def one_event(self, calendar, event_id, raw):
        current = STATE.events[calendar].get(event_id)
        if current is None:
            return self.error(404, "ErrorItemNotFound")
        if self.command == "GET":
            return self.reply(200, current)
        match = self.headers.get("If-Match")
        if match and match != current["changeKey"]:
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
        current.update(body)
        STATE.bump(calendar, current)
        self.reply(200, current)


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
