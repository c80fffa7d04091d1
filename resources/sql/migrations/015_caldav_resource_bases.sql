-- The text of each CalDAV resource as both sides last agreed on it
-- (pulled, or accepted by a PUT), and a newer server text that arrived while
-- rows of the resource still waited to be pushed: the push merges the three,
-- so that neither side's changes are lost.
CREATE TABLE IF NOT EXISTS caldav_resource_bases (
    calendar_id  TEXT NOT NULL,
    href         TEXT NOT NULL,
    base_text    TEXT,
    server_etag  TEXT,
    server_text  TEXT,
    PRIMARY KEY (calendar_id, href)
);
