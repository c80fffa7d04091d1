-- An all-day row is a date: every writer holds it at 00:00 UTC of its
-- dates, in no zone. Rows pulled from Google and Microsoft used to be held
-- at the local midnight of the machine that pulled them (a bare wall clock,
-- or one with that machine's offset) and Microsoft's named the zone the
-- event was written in, so that a reader under another zone, or one showing
-- the row in that zone, found another day. The date written at the start of
-- the stored text is the day meant; nothing else in such a value counts.
UPDATE events SET start_time = substr(start_time, 1, 10) || 'T00:00:00Z'
WHERE is_all_day = 1 AND start_time NOT LIKE '%Z'
  AND start_time GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*';
UPDATE events SET end_time = substr(end_time, 1, 10) || 'T00:00:00Z'
WHERE is_all_day = 1 AND end_time NOT LIKE '%Z'
  AND end_time GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*';
UPDATE events SET timezone = 'UTC' WHERE is_all_day = 1 AND timezone <> 'UTC';
-- Microsoft all-day instances were keyed by their original start read in
-- the zone Graph named beside it, which east of UTC is the day before.
-- Their calendars start a new round, which lists every instance again and
-- keys each by its day.
UPDATE calendars SET delta_sync_token = NULL
WHERE id IN (SELECT calendar_id FROM events
             WHERE is_all_day = 1 AND recurrence_rule <> '' AND raw_icalendar LIKE '%"@instances"%');
