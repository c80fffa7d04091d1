-- The reminder poll looks for due reminders among those never shown, by
-- their trigger within a bounded range: shown ones, which are most of them,
-- stay out of the index. The second index gives the longest lead of those,
-- which bounds how early a trigger of an event still to start can lie.
CREATE INDEX IF NOT EXISTS idx_reminders_due ON reminders(trigger_time) WHERE acknowledged = 0;
CREATE INDEX IF NOT EXISTS idx_reminders_due_lead ON reminders(minutes_before) WHERE acknowledged = 0;
