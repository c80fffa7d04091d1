-- Serves the per-event lookup of the provider pulls.
CREATE INDEX IF NOT EXISTS idx_events_calendar_provider ON events(calendar_id, provider_event_id);
