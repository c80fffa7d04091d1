-- Date-only due and start values are written back as VALUE=DATE; the reader
-- clears the flags when a value carries a time of day.
ALTER TABLE tasks ADD COLUMN due_is_date_only INTEGER NOT NULL DEFAULT 1;
ALTER TABLE tasks ADD COLUMN start_is_date_only INTEGER NOT NULL DEFAULT 1;
ALTER TABLE tasks ADD COLUMN repeat_mode TEXT NOT NULL DEFAULT 'fromDueDate';
-- Rows written before the flags are dates only where nothing says otherwise:
-- a value stored with a time of day other than midnight, or a DUE or DTSTART
-- line of the task's own text with a date-time, keeps its time. The lines
-- are looked for from the VTODO on, past any VTIMEZONE.
CREATE TEMP TABLE task_lines AS
    SELECT id, due_date, start_date,
        substr(todo, instr(todo, char(10) || 'DUE') + 1) AS due_rest,
        instr(todo, char(10) || 'DUE') > 0 AS has_due_line,
        substr(todo, instr(todo, char(10) || 'DTSTART') + 1) AS start_rest,
        instr(todo, char(10) || 'DTSTART') > 0 AS has_start_line
    FROM (SELECT id, due_date, start_date, substr(raw_icalendar, instr(raw_icalendar, 'VTODO')) AS todo
          FROM tasks WHERE due_date IS NOT NULL OR start_date IS NOT NULL);
UPDATE tasks SET due_is_date_only = 0 WHERE id IN (
    SELECT id FROM task_lines WHERE due_date IS NOT NULL AND (
        (due_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9][T ][0-9][0-9]:[0-9][0-9]*'
            AND substr(due_date, 12, 8) GLOB '*[1-9]*')
        OR (has_due_line AND substr(due_rest, 1, instr(due_rest || char(10), char(10)) - 1)
            GLOB '*:[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]T[0-9]*')));
UPDATE tasks SET start_is_date_only = 0 WHERE id IN (
    SELECT id FROM task_lines WHERE start_date IS NOT NULL AND (
        (start_date GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9][T ][0-9][0-9]:[0-9][0-9]*'
            AND substr(start_date, 12, 8) GLOB '*[1-9]*')
        OR (has_start_line AND substr(start_rest, 1, instr(start_rest || char(10), char(10)) - 1)
            GLOB '*:[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]T[0-9]*')));
DROP TABLE task_lines;
