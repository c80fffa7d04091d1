-- A repeating event's reminder fires before every occurrence. The flag on
-- the reminder row can say "shown" only once, so each occurrence shown is
-- noted here by its reminder and the occurrence's start (UTC ISO text).
-- No foreign key: the reminder rows of an event are rewritten on every save
-- under the same ids, and a note must survive that; notes of occurrences
-- long past are pruned by start.
CREATE TABLE IF NOT EXISTS reminder_occurrence_acks (
    reminder_id      TEXT NOT NULL,
    occurrence_start TEXT NOT NULL,
    PRIMARY KEY (reminder_id, occurrence_start)
);
CREATE INDEX IF NOT EXISTS idx_reminder_occurrence_acks_start ON reminder_occurrence_acks(occurrence_start);
