-- Items one calendar's sync must leave alone until they change: an object
-- of the server's that cannot be read ("unreadable", keyed by its href,
-- `version` its ETag) and a write of ours the server refused ("refused",
-- keyed by the resource's series UID or the to-do's id, `version` a digest
-- of the refused text). `detail` keeps the server's answer.
CREATE TABLE IF NOT EXISTS sync_item_problems (
    calendar_id TEXT NOT NULL REFERENCES calendars(id) ON DELETE CASCADE,
    kind TEXT NOT NULL,
    item_key TEXT NOT NULL,
    version TEXT NOT NULL,
    detail TEXT,
    PRIMARY KEY (calendar_id, kind, item_key)
);
