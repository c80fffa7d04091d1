#pragma once

#include <QHash>
#include <QString>

class Database;

// Items of one calendar that its sync leaves alone until they change
// (`sync_item_problems`): objects on the server that cannot be read, kept
// with their ETag, and writes of ours the server refused, kept with a digest
// of the refused text and the server's answer. Any sync client uses it;
// writes signal nothing, since none of this is an event or a to-do.
class SyncItemProblems
{
public:
    enum class Kind { Unreadable, Refused };

    SyncItemProblems(Database *database, const QString &calendarId);

    // Every key of `kind` with its version.
    QHash<QString, QString> all(Kind kind) const;
    int count() const;

    void record(Kind kind, const QString &key, const QString &version, const QString &detail);
    void forget(Kind kind, const QString &key);

private:
    Database *m_database;
    QString m_calendarId;
};
