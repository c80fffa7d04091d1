#pragma once

#include "event.h"

#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// What both providers' event mappings do alike, whatever their resources
// call the fields.
namespace ProviderEvents {

// A fresh local row for a pulled event: a new local id, the provider's id as
// its uid too, and "Untitled Event" for a missing title.
Event pulled(const QString &calendarId, const QString &providerEventId, const QString &etag, const QString &title);

// The last touches of a pulled row: its modification time (now when the
// resource has none) as the creation time too, the resource itself as the
// raw text, and the synced state.
void finishPulled(Event &event, const QJsonObject &item, const QString &modified);

// Minutes before the start from a JSON number; -1 when there is none.
int minutesBefore(const QJsonValue &minutes);

// The end a write sends: the event's own, else a day or an hour after the
// start; an all-day event always ends at least a day after it starts.
QDateTime endToSend(const Event &event);

// Why a service that repeats at most daily cannot hold `rule` as it is
// (a frequency finer than daily, an UNTIL that cannot be read); empty when
// it can. Nothing is converted to something else in its place.
QString ruleProblem(const QString &rule);

} // namespace ProviderEvents
