#include "seriesrows.h"

#include "applog.h"
#include "eventrepository.h"
#include "recurrencerule.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace SeriesRows {

QList<Event> liveOverrides(EventRepository *events, const Event &series)
{
    QList<Event> result;
    if (!events || series.uid.isEmpty())
        return result;
    const QStringList ids = events->liveOverrideIds(series.calendar_id, series.uid, series.id);
    for (const QString &id : std::as_const(ids)) {
        if (const auto row = events->getById(id))
            result.append(*row);
    }
    return result;
}

QStringList dateValues(const QString &stored)
{
    const QString trimmed = stored.trimmed();
    if (trimmed.isEmpty())
        return {};
    if (!trimmed.startsWith(u'['))
        return trimmed.split(u',', Qt::SkipEmptyParts);
    QStringList values;
    const QJsonArray array = QJsonDocument::fromJson(trimmed.toUtf8()).array();
    for (const QJsonValue &value : array) {
        if (value.isString())
            values.append(value.toString());
    }
    return values;
}

QString storedDates(const QStringList &values)
{
    if (values.isEmpty())
        return QString();
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

} // namespace SeriesRows

QString endSeriesBefore(const QString &rule, const QDateTime &cutoff, bool allDay)
{
    RecurrenceRule ended = RecurrenceRule::fromText(rule);
    ended.count = 0;
    if (allDay)
        ended.setUntilDate(cutoff.date());
    else
        ended.setUntilInstant(cutoff);
    return ended.toText();
}
