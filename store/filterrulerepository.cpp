#include "filterrulerepository.h"

#include "database.h"
#include "recordnames.h"
#include "storesql.h"

using namespace StoreSql;

namespace {

const QLatin1String kColumns("id, name, type, enabled, calendar_ids, conditions, action, priority, event_uid, "
                             "event_calendar_id, suppress_reminders, sync_status, created_at, updated_at, deleted_at");

FilterRule rowToFilterRule(const QSqlQuery &q)
{
    FilterRule r;
    r.id = readText(q.value(0));
    r.name = readText(q.value(1));
    r.type = readText(q.value(2));
    r.enabled = q.value(3).toInt() != 0;
    r.calendar_ids = readText(q.value(4));
    r.conditions = readText(q.value(5));
    r.action = readText(q.value(6));
    r.priority = q.value(7).toInt();
    r.event_uid = readText(q.value(8));
    r.event_calendar_id = readText(q.value(9));
    r.suppress_reminders = q.value(10).toInt() != 0;
    r.sync_status = readText(q.value(11));
    r.created_at = readTime(q.value(12));
    r.updated_at = readTime(q.value(13));
    r.deleted_at = readOptionalTime(q.value(14));
    return r;
}

// The columns from name to sync_status, shared by insert and update.
QVariantList contentValues(const FilterRule &r)
{
    return {text(r.name),       text(r.type), flag(r.enabled),   text(r.calendar_ids),      text(r.conditions),
            text(r.action),     r.priority,   text(r.event_uid), text(r.event_calendar_id), flag(r.suppress_reminders),
            text(r.sync_status)};
}

} // namespace

FilterRuleRepository::FilterRuleRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
}

bool FilterRuleRepository::changed(bool ok)
{
    if (ok)
        Q_EMIT filterRulesChanged();
    return ok;
}

QList<FilterRule> FilterRuleRepository::getAll() const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM filter_rules WHERE deleted_at IS NULL ORDER BY "
                                     "priority, name")
                          .arg(kColumns),
                      {}, rowToFilterRule);
}

QList<FilterRule> FilterRuleRepository::getAllIncludingDeleted() const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM filter_rules ORDER BY priority, name").arg(kColumns), {},
                      rowToFilterRule);
}

std::optional<FilterRule> FilterRuleRepository::getById(const QString &id) const
{
    return selectFirst(m_database->database(), QStringLiteral("SELECT %1 FROM filter_rules WHERE id = ?").arg(kColumns),
                       {id}, rowToFilterRule);
}

QList<FilterRule> FilterRuleRepository::getEnabled() const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM filter_rules WHERE deleted_at IS NULL AND "
                                     "enabled = 1 ORDER BY priority, name")
                          .arg(kColumns),
                      {}, rowToFilterRule);
}

bool FilterRuleRepository::insert(const FilterRule &r)
{
    QVariantList values{text(r.id)};
    values += contentValues(r);
    values += {time(r.created_at), time(r.updated_at)};
    return changed(write(m_database->database(), "FilterRuleRepository::insert",
                         QStringLiteral("INSERT INTO filter_rules (id, name, type, enabled, "
                                        "calendar_ids, conditions, action, priority, event_uid, "
                                        "event_calendar_id, suppress_reminders, sync_status, "
                                        "created_at, updated_at) VALUES (%1)")
                             .arg(placeholders(14)),
                         values));
}

bool FilterRuleRepository::update(const FilterRule &r)
{
    QVariantList values = contentValues(r);
    values += {nowText(), text(r.id)};
    return changed(write(m_database->database(), "FilterRuleRepository::update",
                         QStringLiteral("UPDATE filter_rules SET name = ?, type = ?, enabled = ?, "
                                        "calendar_ids = ?, conditions = ?, action = ?, priority = ?, "
                                        "event_uid = ?, event_calendar_id = ?, "
                                        "suppress_reminders = ?, sync_status = ?, updated_at = ? "
                                        "WHERE id = ?"),
                         values));
}

bool FilterRuleRepository::remove(const QString &id)
{
    const QString now = nowText();
    QSqlQuery query(m_database->database());
    static const QString sql =
        QStringLiteral("UPDATE filter_rules SET deleted_at = ?, sync_status = '%1', updated_at = ? WHERE id = ?")
            .arg(SyncStatus::Pending);
    return changed(run(query, sql, {now, now, id}));
}

bool FilterRuleRepository::hardDelete(const QString &id)
{
    QSqlQuery query(m_database->database());
    return changed(run(query, QStringLiteral("DELETE FROM filter_rules WHERE id = ?"), {id}));
}

bool FilterRuleRepository::reorder(const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    static const QString sql = QStringLiteral("UPDATE filter_rules SET priority = ?, sync_status = '%1', "
                                              "updated_at = ? WHERE id = ? AND priority IS NOT ?")
                                   .arg(SyncStatus::Pending);
    return changed(StoreSql::reorder(m_database, sql, ids));
}

bool FilterRuleRepository::setEnabled(const QString &id, bool enabled)
{
    QSqlQuery query(m_database->database());
    static const QString sql =
        QStringLiteral("UPDATE filter_rules SET enabled = ?, sync_status = '%1', updated_at = ? WHERE id = ?")
            .arg(SyncStatus::Pending);
    return changed(run(query, sql, {flag(enabled), nowText(), id}));
}
