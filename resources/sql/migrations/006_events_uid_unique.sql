-- One logical event per calendar, UID and recurrence id (a missing and an empty
-- recurrence id are the same key). Of each group of duplicates a live row
-- survives before a tombstone (a deleted copy must not take the place of the
-- event with its reminders and attendees), then the row created first, ties
-- broken by the smallest id; the others go, their child rows first.
CREATE TEMP TABLE duplicate_events AS
    SELECT id FROM (
        SELECT id, ROW_NUMBER() OVER (
            PARTITION BY calendar_id, uid, COALESCE(recurrence_id, '')
            ORDER BY deleted_at IS NOT NULL, created ASC, id ASC) AS rank_in_key
        FROM events)
    WHERE rank_in_key > 1;
DELETE FROM attendees WHERE event_id IN (SELECT id FROM duplicate_events);
DELETE FROM attachments WHERE event_id IN (SELECT id FROM duplicate_events);
DELETE FROM reminders WHERE event_id IN (SELECT id FROM duplicate_events);
DELETE FROM events WHERE id IN (SELECT id FROM duplicate_events);
DROP TABLE duplicate_events;
CREATE UNIQUE INDEX IF NOT EXISTS idx_events_uid_unique ON events(calendar_id, uid, COALESCE(recurrence_id, ''));
