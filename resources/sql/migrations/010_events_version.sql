-- A counter that moves with every change to an event or to its reminders
-- and attendees, by whatever connection or process, and goes back with a
-- rolled-back transaction. The event repository keeps the rows every range
-- query returns in memory and reads them again only when it has moved:
-- writes to other tables (the view's date, sync bookkeeping) leave them be.
CREATE TABLE IF NOT EXISTS events_version (version INTEGER NOT NULL);
INSERT INTO events_version (version) SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM events_version);
CREATE TRIGGER IF NOT EXISTS events_version_insert AFTER INSERT ON events
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS events_version_update AFTER UPDATE ON events
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS events_version_delete AFTER DELETE ON events
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS reminders_version_insert AFTER INSERT ON reminders
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS reminders_version_update AFTER UPDATE ON reminders
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS reminders_version_delete AFTER DELETE ON reminders
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS attendees_version_insert AFTER INSERT ON attendees
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS attendees_version_update AFTER UPDATE ON attendees
BEGIN
    UPDATE events_version SET version = version + 1;
END;
CREATE TRIGGER IF NOT EXISTS attendees_version_delete AFTER DELETE ON attendees
BEGIN
    UPDATE events_version SET version = version + 1;
END;
