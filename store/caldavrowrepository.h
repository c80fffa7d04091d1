#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class Database;

// The rows of one calendar in the events or the tasks table as a CalDAV
// sync finds them: by the href and ETag of the server's resource. Only the
// server's identity columns are written here; whole rows go through the
// event and task repositories.
class CalDavRowRepository
{
public:
    struct Row
    {
        QString id;
        QString href;
        bool pending = false; // waits to be pushed
    };
    // A row of a series at one href, as the events table holds it.
    struct SeriesRow
    {
        QString id;
        bool pending = false;
        QString uid;
        QString recurrenceId;
        QString masterUid;
    };

    // `table` is "events" or "tasks".
    CalDavRowRepository(Database *database, const QString &table);

    // The ETags of the rows at each href; rows without href are left out.
    QHash<QString, QSet<QString>> etagsByHref(const QString &calendarId) const;
    // Every row that has an href.
    QList<Row> rowsWithHref(const QString &calendarId) const;
    QList<Row> rowsAt(const QString &calendarId, const QString &href) const;
    // An empty `href` or `etag` is stored as NULL.
    bool setServerIdentity(const QString &id, const QString &href, const QString &etag);
    bool forgetServerIdentity(const QString &id);
    // Every row at `href` takes `etag`: the resource is now whole here (a
    // pending row keeps its content, and the server's text for its merge).
    bool settleEtag(const QString &calendarId, const QString &href, const QString &etag);

    // Events only. The rows at `href` of the series `uid`: the series and
    // its overrides, those made here (another UID, this one as master)
    // included.
    QList<SeriesRow> seriesRowsAt(const QString &calendarId, const QString &href, const QString &uid) const;
    // Every event row at `href`: one read for a resource of many series.
    QList<SeriesRow> seriesRowsAt(const QString &calendarId, const QString &href) const;
    // The override made here of the series `masterUid` at `recurrenceId`;
    // empty when there is none.
    QString overrideId(const QString &calendarId, const QString &masterUid, const QString &recurrenceId) const;
    // The series `seriesUid` and its overrides, by recurrence id.
    QStringList seriesIds(const QString &calendarId, const QString &seriesUid) const;

private:
    QList<Row> rows(const char *operation, const QString &where, const QVariantList &values) const;

    Database *m_database;
    QString m_table;
};
