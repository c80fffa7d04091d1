#pragma once

#include <QByteArray>
#include <QString>
#include <QTimeZone>

// Graph names zones the Windows way ("W. Europe Standard Time"), the store
// the IANA way ("Europe/Berlin"). Qt's CLDR table maps most of them; the
// zones the IANA database renamed after that table was made are added here.
namespace GraphZones {

// The Windows name Graph takes for an IANA zone id; "UTC" for UTC and for
// a zone that has none.
QString windowsName(const QByteArray &ianaId);

// The zone a Graph "timeZone" text names: a Windows name, an IANA id, or
// Graph's own UTC names. Invalid when it names none of them.
QTimeZone zoneOf(const QString &name);

// True for the names Graph gives UTC.
bool isUtcName(const QString &name);

} // namespace GraphZones
