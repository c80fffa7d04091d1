-- An override of an all-day series names its occurrence by its date, as
-- every source now stores it. Earlier versions kept the same key as that
-- date's 00:00 UTC ("20250609T000000Z"), which names the same occurrence;
-- in the date form the rows meet what a pull or an import brings in again.
-- A row whose date form another row of its UID already holds stays as it is.
UPDATE events SET recurrence_id = substr(recurrence_id, 1, 8)
WHERE length(recurrence_id) = 16 AND substr(recurrence_id, 9) = 'T000000Z'
    AND COALESCE(master_event_uid, '') <> ''
    AND EXISTS (SELECT 1 FROM events AS series
                WHERE series.calendar_id = events.calendar_id AND series.uid = events.master_event_uid
                    AND COALESCE(series.recurrence_id, '') = '' AND series.is_all_day = 1)
    AND NOT EXISTS (SELECT 1 FROM events AS other
                    WHERE other.calendar_id = events.calendar_id AND other.uid = events.uid
                        AND other.recurrence_id = substr(events.recurrence_id, 1, 8));
