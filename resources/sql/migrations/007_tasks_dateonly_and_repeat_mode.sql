-- Date-only due and start values are written back as VALUE=DATE; the reader
-- clears the flags when a value carries a time of day.
ALTER TABLE tasks ADD COLUMN due_is_date_only INTEGER NOT NULL DEFAULT 1;
ALTER TABLE tasks ADD COLUMN start_is_date_only INTEGER NOT NULL DEFAULT 1;
ALTER TABLE tasks ADD COLUMN repeat_mode TEXT NOT NULL DEFAULT 'fromDueDate';
