#include "icsimport.h"
#include "recordnames.h"
#include "storefailure.h"

#include "eventrepository.h"
#include "indexrebuild.h"
#include "mainwindowlog.h"
#include "storetransaction.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <future>
#include <optional>

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

// A batch of the file's events, and where the reader stood after it.
struct ReadBatch
{
    QList<Event> events;
    qint64 bytesRead = 0;
    bool atEnd = false;
};

Event prepared(Event event, const QString &calendarId, const QDateTime &now)
{
    event.calendar_id = calendarId;
    event.sync_status = SyncStatus::Pending;
    if (!event.last_modified.isValid())
        event.last_modified = now;
    // A row already stored keeps its own.
    if (!event.created.isValid())
        event.created = now;
    return event;
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
    // The file is read a batch ahead, on a thread of its own, while the
    // store writes the batch before: reading is a tenth of the work.
    const auto readAhead = [&reader] {
        ReadBatch batch;
        batch.events = reader.next(kBatch);
        batch.bytesRead = reader.bytesRead();
        batch.atEnd = reader.atEnd();
        return batch;
    };
    std::future<ReadBatch> ahead = std::async(std::launch::async, readAhead);
    const auto giveUp = [&](Outcome outcome) {
        if (ahead.valid())
            ahead.wait();
        result.unread = reader.skipped();
        result.tasks = reader.tasks();
        transaction.discard();
        result.outcome = outcome;
        result.added = result.updated = result.unchanged = 0;
        return result;
    };

    const QDateTime now = QDateTime::currentDateTimeUtc();
    int lastPermille = -1;
    QList<EventWrite> writes;
    std::optional<IndexRebuild> indexes;
    for (bool atEnd = false; !atEnd;) {
        ReadBatch batch = ahead.get();
        atEnd = batch.atEnd;
        // A file of many events against the store's few builds the events'
        // indexes once at the end; how many, the first batch tells.
        if (!indexes && batch.bytesRead > 0)
            indexes.emplace(database, QStringLiteral("events"), batch.events.size() * size / batch.bytesRead);
        if (!atEnd)
            ahead = std::async(std::launch::async, readAhead);
        if (cancel && cancel->load(std::memory_order_relaxed))
            return giveUp(Outcome::Cancelled);
        writes.clear();
        for (Event &parsed : batch.events) {
            if (!parsed.start_time.isValid())
                ++result.withoutStart;
            else
                writes.append({EventWrite::Kind::Import, prepared(std::move(parsed), calendarId, now)});
        }
        batch.events.clear();
        // The same file imported again updates what the first import added:
        // the rows keep their ids and server identity, so the push
        // overwrites those resources rather than adding others. A failed
        // batch fails the whole import, which rolls back the transaction.
        const QList<EventWrite::Outcome> outcomes = events->writeBatch(writes, EventWrite::Undo::Caller);
        for (const EventWrite::Outcome outcome : outcomes) {
            if (outcome == EventWrite::Outcome::Failed) {
                // One line, however many events were left: the rest would
                // only fail the same way.
                result.failure = storeFailure(StoreFailure::last());
                qCWarning(lcMainWindow) << "Import rolled back after" << result.added + result.updated
                                        << "events: the database failed" << int(result.failure);
                return giveUp(Outcome::StoreFailed);
            }
            if (outcome == EventWrite::Outcome::Added)
                ++result.added;
            else if (outcome == EventWrite::Outcome::Updated)
                ++result.updated;
            else if (outcome == EventWrite::Outcome::Unchanged)
                ++result.unchanged;
            else
                ++result.refused;
        }
        const int permille = int(batch.bytesRead * 1000 / size);
        if (progress && permille != lastPermille) {
            lastPermille = permille;
            progress(std::min(permille, 1000));
        }
    }
    if (reader.failed())
        return giveUp(Outcome::Unreadable);
    if (cancel && cancel->load())
        return giveUp(Outcome::Cancelled);
    if (indexes && !indexes->restore()) {
        result.failure = storeFailure(StoreFailure::last());
        return giveUp(Outcome::StoreFailed);
    }
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
