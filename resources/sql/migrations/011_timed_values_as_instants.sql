-- Timed values used to be written as a bare local wall clock (no "Z", no
-- offset), which a reader under another system zone takes for another
-- instant. They meant the system zone of the machine that wrote them, whose
-- best evidence is the system zone now: SQLite's 'utc' modifier reads them as
-- its local time and they become UTC instants. An event that named no zone
-- names that zone, so that it keeps repeating at its wall clock across DST.
-- All-day and date-only values are dates and stay.
UPDATE events SET timezone = :system_zone
WHERE is_all_day = 0 AND timezone IN ('', 'UTC')
  AND start_time GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]';
UPDATE events SET start_time = strftime('%Y-%m-%dT%H:%M:%SZ', start_time, 'utc')
WHERE is_all_day = 0
  AND start_time GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]';
UPDATE events SET end_time = strftime('%Y-%m-%dT%H:%M:%SZ', end_time, 'utc')
WHERE is_all_day = 0
  AND end_time GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]';
UPDATE tasks SET due_date = strftime('%Y-%m-%dT%H:%M:%SZ', due_date, 'utc')
WHERE due_is_date_only = 0
  AND due_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]';
UPDATE tasks SET start_date = strftime('%Y-%m-%dT%H:%M:%SZ', start_date, 'utc')
WHERE start_is_date_only = 0
  AND start_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9]';
