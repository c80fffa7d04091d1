#pragma once

#include "event.h"

#include <QStringList>

// One event's three-way merge, property by property, for every sync client:
// the base (what both sides last agreed on), the local row and the server's
// copy. What only the server changed comes in, the local side's own changes
// stay, and where both changed one property differently the local value
// wins and the merge reports a conflict. Exception and extra dates merge as
// sets.
namespace EventMerge {

// `*serverChanges` (optional) counts the properties the server changed.
Event merge(const Event &base, const Event &local, const Event &server, bool *conflict, int *serverChanges = nullptr);

// Whether `b` says anything the merge would take over `a`.
bool differs(const Event &a, const Event &b);

// The stored JSON list of dates and back (empty text for none).
QStringList dateList(const QString &json);
QString dateJson(const QStringList &dates);

} // namespace EventMerge
