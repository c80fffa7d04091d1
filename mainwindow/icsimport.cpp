#include "icsimport.h"
#include "recordnames.h"
#include "storefailure.h"

#include "eventrepository.h"
#include "mainwindowlog.h"
#include "storetransaction.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace IcsImport {

namespace {

// Events per batch: big enough that each batch resolves its zones once,
// small enough that memory stays a batch's worth.
constexpr int kBatch = 500;

// A failure that is not the event's own, named as the store's.
StoreFailure::Kind storeFailure(StoreFailure::Kind failure)
{
    const bool named = failure != StoreFailure::None && failure != StoreFailure::Refused;
    return named ? failure : StoreFailure::Other;
}

Event prepared(Event event, const QString &calendarId, const QDateTime &now)
{
    event.calendar_id = calendarId;
    event.sync_status = SyncStatus::Pending;
    if (!event.last_modified.isValid())
        event.last_modified = now;
    return event;
}

// Writes one event; false with the reason in `*failure` when it is not stored.
bool store(EventRepository *events, Database *database, Event event, const QDateTime &now, bool *updated,
           StoreFailure::Kind *failure)
{
    const std::optional<Event> existing = events->getByUidAndRecurrenceId(event.uid, event.calendar_id,
                                                                          event.recurrence_id);
    *updated = existing.has_value();
    StoreFailure::clear();
    bool ok;
    if (existing) {
        // The server identity of the stored copy stays, so the push
        // overwrites that resource rather than adding a second one.
        event.id = existing->id;
        event.provider_event_id = existing->provider_event_id;
        event.etag = existing->etag;
        event.href = existing->href;
        event.created = existing->created;
        ok = events->update(event);
    } else {
        event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        if (!event.created.isValid())
            event.created = now;
        ok = events->insert(event);
    }
    *failure = ok ? StoreFailure::None : StoreFailure::last();
    // A refusal leaves the transaction; a failure that costs it, or that
    // names no cause, is the store's.
    if (!ok && (*failure != StoreFailure::Refused || !database->inTransaction()))
        *failure = storeFailure(*failure);
    return ok;
}

} // namespace

Result importFile(EventRepository *events, Database *database, const QString &path, const QString &calendarId,
                  const std::atomic<bool> *cancel, const ProgressFunction &progress)
{
    Result result;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return result;
    const qint64 size = std::max<qint64>(file.size(), 1);
    StoreFailure::clear();
    StoreTransaction transaction(database, StoreTransaction::Lock::Immediate);
    if (!transaction.isActive()) {
        result.outcome = Outcome::StoreFailed;
        result.failure = storeFailure(StoreFailure::last());
        return result;
    }
    // Nothing of the file stays unless all of it does.
    ICalendarFileReader reader(&file);
    const auto giveUp = [&](Outcome outcome) {
        result.unread = reader.skipped();
        result.tasks = reader.tasks();
        transaction.discard();
        result.outcome = outcome;
        result.added = result.updated = 0;
        return result;
    };

    const QDateTime now = QDateTime::currentDateTimeUtc();
    int lastPermille = -1;
    while (!reader.atEnd()) {
        const QList<Event> batch = reader.next(kBatch);
        for (const Event &parsed : batch) {
            if (cancel && cancel->load(std::memory_order_relaxed))
                return giveUp(Outcome::Cancelled);
            if (!parsed.start_time.isValid()) {
                ++result.withoutStart;
                continue;
            }
            bool updated = false;
            StoreFailure::Kind failure = StoreFailure::None;
            if (store(events, database, prepared(parsed, calendarId, now), now, &updated, &failure)) {
                ++(updated ? result.updated : result.added);
            } else if (failure == StoreFailure::Refused) {
                ++result.refused;
            } else {
                // One line, however many events were left: the rest would
                // only fail the same way.
                qCWarning(lcMainWindow) << "Import rolled back after" << result.added + result.updated
                                        << "events: the database failed" << int(failure);
                result.failure = failure;
                return giveUp(Outcome::StoreFailed);
            }
        }
        const int permille = int(reader.bytesRead() * 1000 / size);
        if (progress && permille != lastPermille) {
            lastPermille = permille;
            progress(std::min(permille, 1000));
        }
    }
    if (reader.failed())
        return giveUp(Outcome::Unreadable);
    if (cancel && cancel->load())
        return giveUp(Outcome::Cancelled);
    if (!transaction.keep()) {
        result.failure = storeFailure(StoreFailure::last());
        qCWarning(lcMainWindow) << "Import rolled back: the commit failed" << int(result.failure);
        return giveUp(Outcome::StoreFailed);
    }
    result.outcome = Outcome::Stored;
    result.unread = reader.skipped();
    result.repairedValues = reader.repairedLines();
    result.cutShort = reader.endMissing() && result.unread.cutShort == 0;
    result.tasks = reader.tasks();
    return result;
}

} // namespace IcsImport
