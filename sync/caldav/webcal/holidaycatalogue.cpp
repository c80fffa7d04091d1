#include "holidaycatalogue.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace Webcal {

QString defaultHolidayFeedTemplate()
{
    // The English-language variant ("en." + slug) of the provider's public
    // holiday calendar, as its public basic .ics file.
    return u"https://calendar.google.com/calendar/ical/en.%1%23holiday%40group.v.calendar.google.com/public/basic.ics"_s;
}

QString holidayFeedTemplate()
{
    const QString configured = qEnvironmentVariable(kHolidayFeedTemplateVariable);
    return configured.contains("%1"_L1) ? configured : defaultHolidayFeedTemplate();
}

QString holidayFeedUrl(const QString &slug)
{
    // Not QString::arg: a template without "%1" would have its "%23" filled.
    QString url = holidayFeedTemplate();
    const qsizetype at = url.indexOf("%1"_L1);
    if (at >= 0)
        url.replace(at, 2, slug);
    return url;
}

QList<HolidayFeed> holidayFeeds()
{
    static const QList<HolidayFeed> catalogue = [] {
        const struct
        {
            const char *name;
            const char *region;
            const char *slug;
        } entries[] = {
            {"United States", "Americas", "usa"},
            {"Canada", "Americas", "canadian"},
            {"Mexico", "Americas", "mexican"},
            {"Brazil", "Americas", "brazilian"},
            {"Argentina", "Americas", "ar"},
            {"United Kingdom", "Europe", "uk"},
            {"Germany", "Europe", "german"},
            {"France", "Europe", "french"},
            {"Spain", "Europe", "spain"},
            {"Italy", "Europe", "italian"},
            {"Netherlands", "Europe", "dutch"},
            {"Sweden", "Europe", "swedish"},
            {"Poland", "Europe", "polish"},
            {"Japan", "Asia Pacific", "japanese"},
            {"Australia", "Asia Pacific", "australian"},
            {"India", "Asia Pacific", "indian"},
            {"South Korea", "Asia Pacific", "south_korea"},
            {"China", "Asia Pacific", "china"},
            {"New Zealand", "Asia Pacific", "new_zealand"},
            {"Israel", "Middle East & Africa", "jewish"},
            {"South Africa", "Middle East & Africa", "sa"},
        };
        QList<HolidayFeed> feeds;
        for (const auto &entry : entries) {
            feeds.append({QString::fromUtf8(entry.name), QString::fromUtf8(entry.region),
                          holidayFeedUrl(QString::fromUtf8(entry.slug))});
        }
        return feeds;
    }();
    return catalogue;
}

QStringList holidayRegions()
{
    QStringList regions;
    const QList<HolidayFeed> feeds = holidayFeeds();
    for (const HolidayFeed &feed : feeds) {
        if (!regions.contains(feed.region))
            regions.append(feed.region);
    }
    return regions;
}

QList<HolidayFeed> holidayFeedsInRegion(const QString &region)
{
    QList<HolidayFeed> out;
    const QList<HolidayFeed> feeds = holidayFeeds();
    for (const HolidayFeed &feed : feeds) {
        if (feed.region == region)
            out.append(feed);
    }
    return out;
}

bool isSubscribed(const HolidayFeed &feed, const QList<Calendar> &calendars)
{
    return std::any_of(calendars.cbegin(), calendars.cend(),
                       [&feed](const Calendar &calendar) { return calendar.url == feed.url; });
}

} // namespace Webcal
