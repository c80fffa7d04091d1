#include "feedreplace.h"

#include "database.h"
#include "eventrepository.h"
#include "recordnames.h"
#include "storetransaction.h"
#include "webcallog.h"

#include <QHash>
#include <QUuid>

#include <utility>

using namespace Qt::StringLiterals;

namespace Webcal {

namespace {

using Key = std::pair<QString, QString>;

Key keyOf(const Event &event)
{
    // A missing and an empty recurrence id are the same key, as in the index.
    return {event.uid, event.recurrence_id.isNull() ? QString(""_L1) : event.recurrence_id};
}

// The lines of a stored text but its DTSTAMPs, which many feeds set to the
// time of the download: an event whose only change is its stamp is the same.
class UnstampedLines
{
public:
    explicit UnstampedLines(QStringView text)
        : m_text(text)
    {
    }
    bool next(QStringView *line)
    {
        while (m_pos <= m_text.size()) {
            qsizetype end = m_text.indexOf(u'\n', m_pos);
            if (end < 0)
                end = m_text.size();
            *line = m_text.mid(m_pos, end - m_pos);
            m_pos = end + 1;
            const bool stamp = line->size() > 7 && line->startsWith(u"DTSTAMP"_s, Qt::CaseInsensitive)
                && (line->at(7) == u':' || line->at(7) == u';');
            if (!stamp)
                return true;
        }
        return false;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

bool sameButStamp(const QString &stored, const QString &incoming)
{
    if (stored == incoming)
        return true;
    UnstampedLines a(stored);
    UnstampedLines b(incoming);
    QStringView lineA;
    QStringView lineB;
    for (;;) {
        const bool moreA = a.next(&lineA);
        const bool moreB = b.next(&lineB);
        if (moreA != moreB)
            return false;
        if (!moreA)
            return true;
        if (lineA != lineB)
            return false;
    }
}

} // namespace

FeedReplaceResult replaceCalendarEvents(Database *database, EventRepository *events, const QString &calendarId,
                                        QList<Event> feed, const QDateTime &now)
{
    FeedReplaceResult result;
    if (!database || !events)
        return result;

    // The last component of each key, in feed order of first appearance.
    QList<Event> incoming;
    QHash<Key, qsizetype> position;
    for (Event &event : feed) {
        if (event.uid.isEmpty())
            continue;
        const Key key = keyOf(event);
        if (const auto at = position.constFind(key); at != position.constEnd()) {
            incoming[*at] = std::move(event);
        } else {
            position.insert(key, incoming.size());
            incoming.append(std::move(event));
        }
    }
    feed = {};

    // Taken at once: the rows read below are then the ones written over,
    // whatever another connection of the program writes meanwhile.
    StoreTransaction transaction(database, StoreTransaction::Lock::Immediate);
    if (!transaction.isActive()) {
        result.failed = int(incoming.size());
        return result;
    }

    QHash<Key, Event> stored;
    const QList<Event> rows = events->getByCalendar(calendarId);
    for (const Event &row : rows)
        stored.insert(keyOf(row), row);

    // Batches of a few thousand: each row alone would pay for a savepoint
    // and the change log's triggers of its own, and one batch of a whole
    // large feed would hold every row twice more.
    constexpr qsizetype kBatch = 2000;
    QList<EventWrite> writes;
    // The store failing (not one row refused) ends the replace: SQLite may
    // have ended the transaction with it, and what follows would stand alone.
    bool storeFailed = false;
    const auto write = [&] {
        for (const EventWrite::Outcome outcome : events->writeBatch(writes)) {
            switch (outcome) {
            case EventWrite::Outcome::Added: ++result.inserted; break;
            case EventWrite::Outcome::Updated: ++result.updated; break;
            case EventWrite::Outcome::Deleted: ++result.deleted; break;
            case EventWrite::Outcome::Unchanged: break;
            case EventWrite::Outcome::Refused: ++result.failed; break;
            case EventWrite::Outcome::Failed: storeFailed = true; break;
            }
        }
        writes.clear();
    };
    for (Event &event : incoming) {
        if (storeFailed)
            break;
        event.calendar_id = calendarId;
        event.sync_status = SyncStatus::Synced;
        // SUMMARY is optional; the title column is not.
        if (event.title.isNull())
            event.title = ""_L1;
        std::optional<Event> existing;
        if (const auto it = stored.constFind(keyOf(event)); it != stored.constEnd())
            existing = *it;
        else // a tombstone holds the key too
            existing = events->getByUidAndRecurrenceId(event.uid, calendarId, event.recurrence_id);
        // The same text can name other instants than it did: a floating time
        // is read in the zone the machine is in now.
        if (existing && !existing->deleted_at && sameButStamp(existing->raw_icalendar, event.raw_icalendar)
            && existing->sync_status == event.sync_status && existing->start_time == event.start_time
            && existing->end_time == event.end_time) {
            ++result.unchanged;
            continue;
        }
        if (!event.created.isValid())
            event.created = existing ? existing->created : now;
        if (!event.last_modified.isValid())
            event.last_modified = event.created;
        if (existing) {
            event.id = existing->id;
            event.color = existing->color;
            writes.append({EventWrite::Kind::Update, std::move(event)});
        } else {
            event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            writes.append({EventWrite::Kind::Insert, std::move(event)});
        }
        if (writes.size() >= kBatch)
            write();
    }
    for (auto it = stored.constBegin(); it != stored.constEnd() && !storeFailed; ++it) {
        if (!position.contains(it.key()))
            writes.append({EventWrite::Kind::Delete, *it});
        if (writes.size() >= kBatch)
            write();
    }
    if (!storeFailed)
        write();

    result.committed = !storeFailed && transaction.keep();
    if (!result.committed) {
        qCWarning(lcWebcal) << "subscription replace failed:" << transaction.errorText();
        result = FeedReplaceResult{};
        result.failed = int(incoming.size());
        return result;
    }
    if (result.changed())
        events->scheduleChanged(calendarId);
    return result;
}

} // namespace Webcal
