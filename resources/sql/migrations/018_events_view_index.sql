-- Views read the rows of a window from one index that holds every column
-- they draw, filter on and expand, without touching the table's rows (whose
-- raw text is most of their size). It leads with the start, as the index it
-- replaces did.
CREATE INDEX IF NOT EXISTS idx_events_view ON events(start_time, deleted_at, calendar_id, end_time, is_all_day, id, uid,
    provider_event_id, title, description, location, timezone, recurrence_rule, recurrence_dates, exception_dates,
    recurrence_id, master_event_uid, status, color);
-- Indexes no statement needs, which every write paid for: the start (now
-- the view index's lead), the end (rows longer than a day have their own),
-- the calendar alone (it leads three others), the sync state alone (the
-- pending rows have their own) and every reminder's trigger (the poll reads
-- the unshown ones').
DROP INDEX IF EXISTS idx_events_start_time;
DROP INDEX IF EXISTS idx_events_end_time;
DROP INDEX IF EXISTS idx_events_calendar;
DROP INDEX IF EXISTS idx_events_sync_status;
DROP INDEX IF EXISTS idx_reminders_trigger;
