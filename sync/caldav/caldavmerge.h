#pragma once

#include "caldavparse.h"

#include <QList>
#include <QString>

class AppState;

namespace CalDavParse {

// Writes discovered calendars into the account's local calendars: a new
// collection becomes a new, syncing calendar; a placeholder that
// configuration sync made for a calendar known on another device (not
// syncing, read-only, with a canonical key) at the same URL is turned on.
// Other calendars at a known URL, and local calendars the server no longer
// lists, are left alone. Returns the number of calendars added.
int mergeDiscoveredCalendars(AppState *appState, const QString &accountId, const QList<DiscoveredCalendar> &calendars);

} // namespace CalDavParse
