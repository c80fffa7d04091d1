#include "syncitemproblems.h"

#include "database.h"
#include "storesql.h"

#include <QSqlQuery>

using namespace StoreSql;

namespace {

QString kindText(SyncItemProblems::Kind kind)
{
    return kind == SyncItemProblems::Kind::Unreadable ? QStringLiteral("unreadable") : QStringLiteral("refused");
}

} // namespace

SyncItemProblems::SyncItemProblems(Database *database, const QString &calendarId)
    : m_database(database)
    , m_calendarId(calendarId)
{
}

QHash<QString, QString> SyncItemProblems::all(Kind kind) const
{
    QHash<QString, QString> out;
    QSqlQuery query(m_database->database());
    query.setForwardOnly(true);
    if (!run(query,
             QStringLiteral("SELECT item_key, version FROM sync_item_problems WHERE calendar_id = ? AND kind = ?"),
             {m_calendarId, kindText(kind)}))
        return out;
    while (query.next())
        out.insert(query.value(0).toString(), query.value(1).toString());
    return out;
}

int SyncItemProblems::count() const
{
    return selectFirst<int>(m_database->database(),
                            QStringLiteral("SELECT COUNT(*) FROM sync_item_problems WHERE calendar_id = ?"),
                            {m_calendarId}, [](const QSqlQuery &q) { return q.value(0).toInt(); })
        .value_or(0);
}

void SyncItemProblems::record(Kind kind, const QString &key, const QString &version, const QString &detail)
{
    write(m_database->database(), "SyncItemProblems::record",
          QStringLiteral("INSERT OR REPLACE INTO sync_item_problems (calendar_id, kind, item_key, version, detail) "
                         "VALUES (?, ?, ?, ?, ?)"),
          {m_calendarId, kindText(kind), key, version, text(detail)});
}

void SyncItemProblems::forget(Kind kind, const QString &key)
{
    write(m_database->database(), "SyncItemProblems::forget",
          QStringLiteral("DELETE FROM sync_item_problems WHERE calendar_id = ? AND kind = ? AND item_key = ?"),
          {m_calendarId, kindText(kind), key});
}
