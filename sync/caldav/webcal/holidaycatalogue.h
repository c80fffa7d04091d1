#pragma once

#include "calendar.h"

#include <QList>
#include <QMetaType>
#include <QString>

namespace Webcal {

// One country's public-holiday feed. Names are shown as they are, untranslated.
struct HolidayFeed
{
    QString name;
    QString region;
    QString url;

    friend bool operator==(const HolidayFeed &a, const HolidayFeed &b)
    {
        return a.name == b.name && a.region == b.region && a.url == b.url;
    }
    friend bool operator!=(const HolidayFeed &a, const HolidayFeed &b) { return !(a == b); }
};

// The provider's address of a country's holiday calendar: "%1" takes the
// country's slug verbatim. Percent-encoded characters of the template stay.
// Replaced as a whole by the environment variable named here (e.g. to point
// at a mirror); read once, when the catalogue is first built.
inline constexpr const char *kHolidayFeedTemplateVariable = "CALENDAR_HOLIDAY_FEED_TEMPLATE";
QString defaultHolidayFeedTemplate();
QString holidayFeedTemplate();

// The whole catalogue, built once, in its fixed order.
QList<HolidayFeed> holidayFeeds();
// Distinct regions in the order of their first entry.
QStringList holidayRegions();
// Entries of exactly this region (case counts), in catalogue order.
QList<HolidayFeed> holidayFeedsInRegion(const QString &region);
QString holidayFeedUrl(const QString &slug);
// Whether one of `calendars` already subscribes to the feed (its url is the
// feed address).
bool isSubscribed(const HolidayFeed &feed, const QList<Calendar> &calendars);

} // namespace Webcal

Q_DECLARE_METATYPE(Webcal::HolidayFeed)
