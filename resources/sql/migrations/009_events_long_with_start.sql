-- Rows longer than a day are found by their end. With their start in the
-- index too, the ones that begin after the window (in a large store most of
-- them lie in the future) are passed over without reading their rows.
DROP INDEX IF EXISTS idx_events_long;
CREATE INDEX idx_events_long ON events(end_time, start_time) WHERE julianday(end_time) - julianday(start_time) > 1;
