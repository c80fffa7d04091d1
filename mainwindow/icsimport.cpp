#include "icsimport.h"

#include "database.h"
#include "eventrepository.h"
#include "icalendar.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace IcsImport {

Result importFile(EventRepository *events, Database *database, const QString &path,
                  const QString &calendarId)
{
    Result result;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return result;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return result;
    result.readable = true;

    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QList<Event> parsed = ICalendar::parseEvents(QString::fromUtf8(bytes));
    // One commit for the file rather than one per event, each of which
    // waits for the disk: a large file took tens of seconds. Each event is
    // still written under its own savepoint, so one refused event leaves
    // the others. Inside a caller's transaction the events join it.
    QSqlDatabase &db = database->database();
    bool ownTransaction = db.isOpen() && db.transaction();
    // The transaction is gone, and with it what it held.
    const auto lose = [&result] {
        result.failed += result.added + result.updated;
        result.added = result.updated = 0;
    };
    for (Event event : parsed) {
        if (!event.start_time.isValid()) {
            ++result.failed;
            continue;
        }
        event.calendar_id = calendarId;
        event.sync_status = QStringLiteral("pending");
        if (!event.last_modified.isValid())
            event.last_modified = now;

        const std::optional<Event> existing =
            events->getByUidAndRecurrenceId(event.uid, calendarId, event.recurrence_id);
        bool ok = false;
        if (existing) {
            // The server identity of the stored copy stays, so the push
            // overwrites that resource rather than adding a second one.
            event.id = existing->id;
            event.provider_event_id = existing->provider_event_id;
            event.etag = existing->etag;
            event.href = existing->href;
            event.created = existing->created;
            ok = events->update(event);
            result.updated += ok ? 1 : 0;
        } else {
            event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            if (!event.created.isValid())
                event.created = now;
            ok = events->insert(event);
            result.added += ok ? 1 : 0;
        }
        result.failed += ok ? 0 : 1;
        if (!ok && ownTransaction && !database->inTransaction()) {
            // SQLite rolled the whole transaction back (a full disk, an I/O
            // error); the rest goes in one by one.
            lose();
            ownTransaction = false;
        }
    }
    if (ownTransaction && !db.commit()) {
        db.rollback();
        lose();
    }
    return result;
}

} // namespace IcsImport
