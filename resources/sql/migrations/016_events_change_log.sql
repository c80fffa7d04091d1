-- The events' change counter becomes a log: each change to an event or to
-- its reminders and attendees, by whatever connection or process, appends
-- the event's id, and the counter is the newest entry's number. Like the
-- counter it replaces it goes back with a rolled-back transaction. A reader
-- that kept rows at one number reads again only the events logged after it.
-- The log keeps about the last 65,536 entries, pruned at every 1,024th (at
-- the others SQLite skips the statement on its constant test); a reader
-- whose number lies before the oldest entry reads everything again.
CREATE TABLE IF NOT EXISTS events_changes (version INTEGER PRIMARY KEY, event_id TEXT NOT NULL);
DROP TRIGGER IF EXISTS events_version_insert;
CREATE TRIGGER events_version_insert AFTER INSERT ON events
BEGIN
    INSERT INTO events_changes (event_id) VALUES (NEW.id);
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS events_version_update;
CREATE TRIGGER events_version_update AFTER UPDATE ON events
BEGIN
    INSERT INTO events_changes (event_id) VALUES (NEW.id);
    INSERT INTO events_changes (event_id) SELECT OLD.id WHERE OLD.id <> NEW.id;
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS events_version_delete;
CREATE TRIGGER events_version_delete AFTER DELETE ON events
BEGIN
    INSERT INTO events_changes (event_id) VALUES (OLD.id);
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS reminders_version_insert;
CREATE TRIGGER reminders_version_insert AFTER INSERT ON reminders
BEGIN
    INSERT INTO events_changes (event_id) VALUES (NEW.event_id);
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS reminders_version_update;
CREATE TRIGGER reminders_version_update AFTER UPDATE ON reminders
BEGIN
    INSERT INTO events_changes (event_id) VALUES (NEW.event_id);
    INSERT INTO events_changes (event_id) SELECT OLD.event_id WHERE OLD.event_id <> NEW.event_id;
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS reminders_version_delete;
CREATE TRIGGER reminders_version_delete AFTER DELETE ON reminders
BEGIN
    INSERT INTO events_changes (event_id) VALUES (OLD.event_id);
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS attendees_version_insert;
CREATE TRIGGER attendees_version_insert AFTER INSERT ON attendees
BEGIN
    INSERT INTO events_changes (event_id) VALUES (NEW.event_id);
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS attendees_version_update;
CREATE TRIGGER attendees_version_update AFTER UPDATE ON attendees
BEGIN
    INSERT INTO events_changes (event_id) VALUES (NEW.event_id);
    INSERT INTO events_changes (event_id) SELECT OLD.event_id WHERE OLD.event_id <> NEW.event_id;
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TRIGGER IF EXISTS attendees_version_delete;
CREATE TRIGGER attendees_version_delete AFTER DELETE ON attendees
BEGIN
    INSERT INTO events_changes (event_id) VALUES (OLD.event_id);
    DELETE FROM events_changes WHERE (SELECT MAX(version) % 1024 FROM events_changes) = 0
        AND version <= (SELECT MAX(version) FROM events_changes) - 65536;
END;
DROP TABLE IF EXISTS events_version;
