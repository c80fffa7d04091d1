#include "templaterepository.h"

#include "database.h"
#include "recordnames.h"
#include "storesql.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

using namespace StoreSql;

namespace {

const QLatin1String kSelect("SELECT id, name, title, description, location, color, is_all_day, duration_minutes, "
                            "recurrence_rule, calendar_id, reminders, sort_order, created_at, updated_at, deleted_at "
                            "FROM event_templates");

// A JSON array of whole minutes; anything but numbers is skipped.
QList<int> parseReminderMinutes(const QString &text)
{
    QList<int> minutes;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray())
        return minutes;
    const QJsonArray array = doc.array();
    for (const QJsonValue &value : array) {
        if (value.isDouble())
            minutes.append(value.toInt());
    }
    return minutes;
}

QString serializeReminderMinutes(const QList<int> &minutes)
{
    QJsonArray array;
    for (int m : minutes)
        array.append(m);
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

EventTemplate rowToEventTemplate(const QSqlQuery &q)
{
    EventTemplate t;
    t.id = readText(q.value(0));
    t.name = readText(q.value(1));
    t.title = readText(q.value(2));
    t.description = readText(q.value(3));
    t.location = readText(q.value(4));
    t.color = readText(q.value(5));
    t.is_all_day = q.value(6).toInt() != 0;
    t.duration_minutes = q.value(7).toInt();
    t.recurrence_rule = readText(q.value(8));
    t.calendar_id = readText(q.value(9));
    t.reminders = parseReminderMinutes(q.value(10).toString());
    t.sort_order = q.value(11).toInt();
    t.created_at = readTime(q.value(12));
    t.updated_at = readTime(q.value(13));
    t.deleted_at = readOptionalTime(q.value(14));
    return t;
}

// The columns from name to sort_order, shared by insert and update.
QVariantList contentValues(const EventTemplate &t)
{
    return {text(t.name),        text(t.title),
            text(t.description), text(t.location),
            text(t.color),       flag(t.is_all_day),
            t.duration_minutes,  text(t.recurrence_rule),
            text(t.calendar_id), serializeReminderMinutes(t.reminders),
            t.sort_order};
}

} // namespace

TemplateRepository::TemplateRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
}

bool TemplateRepository::changed(bool ok)
{
    if (ok)
        Q_EMIT templatesChanged();
    return ok;
}

QList<EventTemplate> TemplateRepository::getAll() const
{
    return selectRows(m_database->database(),
                      kSelect + QLatin1String(" WHERE deleted_at IS NULL ORDER BY sort_order, name"), {},
                      rowToEventTemplate);
}

QList<EventTemplate> TemplateRepository::getAllIncludingDeleted() const
{
    return selectRows(m_database->database(), kSelect + QLatin1String(" ORDER BY sort_order, name"), {},
                      rowToEventTemplate);
}

std::optional<EventTemplate> TemplateRepository::getById(const QString &id) const
{
    return selectFirst(m_database->database(), kSelect + QLatin1String(" WHERE deleted_at IS NULL AND id = ?"), {id},
                       rowToEventTemplate);
}

bool TemplateRepository::insert(const EventTemplate &t)
{
    const QString id = t.id.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : t.id;
    const QString now = nowText();
    QVariantList values{id};
    values += contentValues(t);
    values += {t.created_at.isValid() ? time(t.created_at) : QVariant(now), now};
    static const QString sql = QStringLiteral("INSERT INTO event_templates (id, name, title, description, "
                                              "location, color, is_all_day, duration_minutes, "
                                              "recurrence_rule, calendar_id, reminders, sort_order, "
                                              "sync_status, created_at, updated_at) VALUES (?, ?, ?, ?, "
                                              "?, ?, ?, ?, ?, ?, ?, ?, '%1', ?, ?)")
                                   .arg(SyncStatus::Pending);
    return changed(write(m_database->database(), "TemplateRepository::insert", sql, values));
}

bool TemplateRepository::update(const EventTemplate &t)
{
    QVariantList values = contentValues(t);
    values += {nowText(), text(t.id)};
    static const QString sql = QStringLiteral("UPDATE event_templates SET name = ?, title = ?, "
                                              "description = ?, location = ?, color = ?, is_all_day = ?, "
                                              "duration_minutes = ?, recurrence_rule = ?, calendar_id = ?, "
                                              "reminders = ?, sort_order = ?, sync_status = '%1', "
                                              "updated_at = ? WHERE id = ?")
                                   .arg(SyncStatus::Pending);
    return changed(write(m_database->database(), "TemplateRepository::update", sql, values));
}

bool TemplateRepository::remove(const QString &id)
{
    const QString now = nowText();
    QSqlQuery query(m_database->database());
    static const QString sql =
        QStringLiteral("UPDATE event_templates SET deleted_at = ?, sync_status = '%1', updated_at = ? WHERE id = ?")
            .arg(SyncStatus::Pending);
    return changed(run(query, sql, {now, now, id}));
}

bool TemplateRepository::hardDelete(const QString &id)
{
    QSqlQuery query(m_database->database());
    return changed(run(query, QStringLiteral("DELETE FROM event_templates WHERE id = ?"), {id}));
}
