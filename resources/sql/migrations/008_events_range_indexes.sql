-- The range query finds the events that overlap a window in three index
-- ranges instead of walking every event that starts before the window's end:
-- rows starting in (or just before) the window by idx_events_start_time, the
-- few rows longer than a day by their end, and the few open-ended rows
-- (repeating masters, rows without an end) by their start.
CREATE INDEX IF NOT EXISTS idx_events_long ON events(end_time) WHERE julianday(end_time) - julianday(start_time) > 1;
CREATE INDEX IF NOT EXISTS idx_events_open_ended ON events(start_time) WHERE (recurrence_rule IS NOT NULL AND recurrence_rule != '') OR end_time IS NULL;
