#pragma once

#include <QObject>
#include <QString>

#include <optional>

class Database;

// Key/value preferences in `settings`. Values are text; booleans are "1"/"0".
// A missing row means "not set" and each reader passes its own default.
class PreferencesRepository : public QObject
{
    Q_OBJECT
public:
    PreferencesRepository(Database *database, QObject *parent = nullptr);

    std::optional<QString> get(const QString &key) const;
    // A stored empty string is returned as it is; the default applies only to
    // a missing row.
    QString getString(const QString &key, const QString &defaultValue) const;
    // True for a stored "1" or "true" only.
    bool getBool(const QString &key, bool defaultValue) const;
    // The default also when the stored text is not a whole base-10 number.
    int getInt(const QString &key, int defaultValue) const;

    // Upserts; emits changed(key) on success, also when the value is the same.
    // A null value fails (the column is NOT NULL).
    bool set(const QString &key, const QString &value);
    void setBool(const QString &key, bool value);
    void setInt(const QString &key, int value);
    // Emits nothing; removing a missing key succeeds.
    bool remove(const QString &key);

Q_SIGNALS:
    void changed(const QString &key);

private:
    Database *m_database;
};
