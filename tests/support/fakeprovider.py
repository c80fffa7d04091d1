"""What the fake Google and the fake Graph share: the PKCE check, the
injected failures and the parts of the control API both speak.

The state object is the fake's own; it brings `calendars`, `events`,
`failures`, `log`, `refresh_tokens`, `settings`, `reset()`, `put_event()`,
`bump()` and `new_access_token()`.
"""
import base64
import hashlib
import secrets
import time
import urllib.parse


def s256(verifier):
    digest = hashlib.sha256(verifier.encode()).digest()
    return base64.urlsafe_b64encode(digest).decode().rstrip("=")


def read_request(handler):
    """Sets the handler's `query` and `url_path`; the request body."""
    url = urllib.parse.urlsplit(handler.path)
    handler.query = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True))
    handler.url_path = url.path
    length = int(handler.headers.get("Content-Length") or 0)
    return handler.rfile.read(length) if length else b""


def take_failure(state, method, path):
    """The first injected failure for this request, counted down; None if none."""
    failure = next((f for f in state.failures if f["method"] in ("", method) and f["path"] in path), None)
    if failure:
        failure["count"] -= 1
        if failure["count"] <= 0:
            state.failures.remove(failure)
    return failure


def handle(handler, state, lock, logged_headers):
    """One request: a control call, or an API call that is logged (with the
    named headers, as (log key, header) pairs) and that an injected failure
    may delay, drop or answer; else the handler's `route` answers it."""
    raw = read_request(handler)
    if handler.url_path.startswith("/_control/"):
        with lock:
            return handler.control(handler.url_path[len("/_control/"):], raw)
    with lock:
        entry = {"method": handler.command, "path": handler.url_path, "query": handler.query}
        for key, header in logged_headers:
            entry[key] = handler.headers.get(header)
        entry["body"] = raw.decode("utf-8", "replace")
        state.log.append(entry)
        failure = take_failure(state, handler.command, handler.path)
    if failure:
        time.sleep(failure.get("delay", 0))
        if failure.get("garble"):              # done, but the answer is cut short
            handler.garble = True
            with lock:
                return handler.route(raw)
        if failure.get("drop"):
            handler.close_connection = True
            handler.connection.shutdown(2)
            return None
        if failure.get("raw") is not None:     # a body that is not what was asked for, or cut short
            return handler.reply(failure.get("status", 200), failure["raw"].encode(), failure.get("headers"))
        if failure.get("headers"):             # e.g. 429 or 503 with Retry-After
            return handler.reply(failure["status"], {"error": {"code": failure["status"], "message": "injected"}},
                                 failure["headers"])
        if failure.get("status"):
            return handler.error(failure["status"], "injected")
    with lock:
        return handler.route(raw)


def control(state, what, data):
    """The answer to a control call both fakes know; None for any other."""
    if what == "reset":
        state.reset()
    elif what == "calendars":
        state.calendars = data["items"]
        for entry in state.calendars:
            state.events.setdefault(entry["id"], {})
    elif what == "events":          # create or merge-change events, as another client would
        out = []
        events = state.events.setdefault(data["calendar"], {})
        for item in data["items"]:
            current = events.get(item.get("id"))
            if current is None:
                out.append(state.put_event(data["calendar"], item))
            else:
                current.update(item)
                state.bump(data["calendar"], current)
                out.append(current)
        return {"items": out}
    elif what == "tokens":          # grant tokens without a browser
        access = state.new_access_token()
        refresh = "rt-" + secrets.token_hex(8)
        state.refresh_tokens.add(refresh)
        return {"access_token": access, "refresh_token": refresh}
    elif what == "fail":
        data.setdefault("method", "")
        data.setdefault("count", 1)
        state.failures.append(data)
    elif what == "settings":        # the knobs the fake's state names in its `settings`
        for key in state.settings:
            if key in data:
                setattr(state, key, data[key])
    elif what == "log":
        return {"requests": state.log}
    elif what == "clear-log":
        state.log = []
    else:
        return None
    return {}
