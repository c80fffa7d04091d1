#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// The offsets of a time zone as a VTIMEZONE component defines them (RFC 5545
// 3.6.5): STANDARD and DAYLIGHT observances whose onsets come from DTSTART,
// RRULE and RDATE, each onset's wall clock read in the offset in force before
// it. For the zones that invitations define themselves ("Customized Time
// Zone" and other names no zone database knows); zones the system knows stay
// with QTimeZone.
class ZoneRules
{
public:
    struct Onset
    {
        qint64 atUtc; // seconds since the epoch
        int offsetBefore;
        int offsetAfter;
    };

    // Reads a BEGIN:VTIMEZONE ... END:VTIMEZONE block; none without a TZID or
    // without an observance that has an onset and both offsets.
    static std::optional<ZoneRules> fromVTimezone(QStringView block);

    const QString &id() const { return m_id; }
    // The offset before the first onset.
    int initialOffset() const { return m_initialOffset; }
    // The onsets up to `toUtc`, ascending, each changing the offset.
    std::vector<Onset> onsetsUntil(qint64 toUtc) const;

private:
    struct Observance
    {
        int offsetFrom = 0;
        int offsetTo = 0;
        qint64 startLocal = 0; // wall-clock seconds since 1970-01-01T00:00
        QString rule;
        std::vector<qint64> datesLocal;
    };

    QString m_id;
    int m_initialOffset = 0;
    std::vector<Observance> m_observances;
};
