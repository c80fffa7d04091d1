#include "providerevents.h"

#include "providerhttp.h"
#include "recordnames.h"
#include "timeutil.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace ProviderEvents {

Event pulled(const QString &calendarId, const QString &providerEventId, const QString &etag, const QString &title)
{
    Event event;
    event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    event.calendar_id = calendarId;
    event.provider_event_id = providerEventId;
    event.uid = event.provider_event_id;
    event.etag = etag;
    event.title = title.isEmpty() ? u"Untitled Event"_s : title;
    return event;
}

void finishPulled(Event &event, const QJsonObject &item, const QString &modified)
{
    event.last_modified = modified.isEmpty() ? QDateTime::currentDateTimeUtc() : ProviderHttp::parseIso(modified);
    event.created = event.last_modified;
    event.raw_icalendar = QString::fromUtf8(QJsonDocument(item).toJson(QJsonDocument::Compact));
    event.sync_status = SyncStatus::Synced;
}

int minutesBefore(const QJsonValue &minutes)
{
    return minutes.isDouble() ? minutes.toInt(-1) : -1;
}

QDateTime endToSend(const Event &event)
{
    QDateTime end;
    if (event.end_time && event.end_time->isValid())
        end = *event.end_time;
    else
        end = event.is_all_day ? event.start_time.addDays(1) : event.start_time.addSecs(3600);
    if (event.is_all_day && end.date() <= event.start_time.date())
        end = TimeUtil::inZoneOf(event.start_time.date().addDays(1), QTime(0, 0), end);
    return end;
}

QString ruleProblem(const QString &rule)
{
    for (const QString &part : rule.split(u';', Qt::SkipEmptyParts)) {
        const QString name = part.section(u'=', 0, 0).trimmed().toUpper();
        const QString value = part.section(u'=', 1).trimmed().toUpper();
        if (name == "FREQ"_L1 && (value == "HOURLY"_L1 || value == "MINUTELY"_L1 || value == "SECONDLY"_L1))
            return QCoreApplication::translate("ProviderEvents",
                                               "The service cannot repeat an event more often "
                                               "than daily.");
        if (name == "UNTIL"_L1) {
            const bool date = value.size() == 8 && QDate::fromString(value, u"yyyyMMdd"_s).isValid();
            const bool instant = TimeUtil::fromIcalUtc(value).isValid()
                || (value.size() == 15 && QDateTime::fromString(value, u"yyyyMMdd'T'HHmmss"_s).isValid());
            if (!date && !instant)
                return QCoreApplication::translate("ProviderEvents", "The end of the repetition cannot be read.");
        }
    }
    return QString();
}

} // namespace ProviderEvents
