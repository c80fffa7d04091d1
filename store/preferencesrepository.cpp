#include "preferencesrepository.h"

#include "database.h"
#include "storesql.h"

PreferencesRepository::PreferencesRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
}

std::optional<QString> PreferencesRepository::get(const QString &key) const
{
    return StoreSql::selectFirst<QString>(m_database->database(),
                                          QStringLiteral("SELECT value FROM settings WHERE key = ?"), {key},
                                          [](const QSqlQuery &q) { return q.value(0).toString(); });
}

QString PreferencesRepository::getString(const QString &key, const QString &defaultValue) const
{
    return get(key).value_or(defaultValue);
}

bool PreferencesRepository::getBool(const QString &key, bool defaultValue) const
{
    const std::optional<QString> stored = get(key);
    if (!stored)
        return defaultValue;
    return *stored == QLatin1String("1") || *stored == QLatin1String("true");
}

int PreferencesRepository::getInt(const QString &key, int defaultValue) const
{
    const std::optional<QString> stored = get(key);
    if (!stored)
        return defaultValue;
    bool ok = false;
    const int value = stored->toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool PreferencesRepository::set(const QString &key, const QString &value)
{
    QSqlQuery query(m_database->database());
    if (!StoreSql::run(query,
                       QStringLiteral("INSERT INTO settings (key, value) VALUES (?, ?) ON "
                                      "CONFLICT(key) DO UPDATE SET value = excluded.value"),
                       {key, StoreSql::text(value)}))
        return false;
    Q_EMIT changed(key);
    return true;
}

void PreferencesRepository::setBool(const QString &key, bool value)
{
    set(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void PreferencesRepository::setInt(const QString &key, int value)
{
    set(key, QString::number(value));
}

bool PreferencesRepository::remove(const QString &key)
{
    QSqlQuery query(m_database->database());
    return StoreSql::run(query, QStringLiteral("DELETE FROM settings WHERE key = ?"), {key});
}
