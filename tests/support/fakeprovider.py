"""What the fake Google and the fake Graph share: the PKCE check, the
injected failures and the parts of the control API both speak.

The state object is the fake's own; it brings `calendars`, `events`,
`failures`, `log`, `reset()`, `put_event()` and `bump()`.
"""
import base64
import hashlib


def s256(verifier):
    digest = hashlib.sha256(verifier.encode()).digest()
    return base64.urlsafe_b64encode(digest).decode().rstrip("=")


def take_failure(state, method, path):
    """The first injected failure for this request, counted down; None if none."""
    failure = next((f for f in state.failures if f["method"] in ("", method) and f["path"] in path), None)
    if failure:
        failure["count"] -= 1
        if failure["count"] <= 0:
            state.failures.remove(failure)
    return failure


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
    elif what == "fail":
        data.setdefault("method", "")
        data.setdefault("count", 1)
        state.failures.append(data)
    elif what == "log":
        return {"requests": state.log}
    elif what == "clear-log":
        state.log = []
    else:
        return None
    return {}
