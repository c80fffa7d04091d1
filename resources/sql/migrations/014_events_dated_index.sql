-- Events that repeat by RDATE alone (no RRULE) belong to every window that
-- holds one of their dates, so the range query keeps them with the other
-- repeating masters; this finds the few of them by their start, as
-- idx_events_open_ended finds the masters with a rule.
CREATE INDEX IF NOT EXISTS idx_events_dated ON events(start_time) WHERE recurrence_dates GLOB '*[0-9]*';
