#pragma once

#include "event.h"
#include "eventwrite.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class ChangeCoalescer;
class Database;

// The `events` table with its `reminders` and `attendees` child rows.
//
// Every successful write (and scheduleChanged) restarts a 150 ms single-shot
// timer; when it fires, eventsChanged() names the calendar of the last write
// of the burst. A failed write returns false, logs one warning and signals
// nothing.
//
// Tombstones: remove() marks a row deleted (pending); the lookups by id, uid
// and the pending list return tombstones, the lists, range and search do not.
class EventRepository : public QObject
{
    Q_OBJECT
public:
    EventRepository(Database *database, QObject *parent = nullptr);
    ~EventRepository() override;

    // Lookups. "With children" means the reminder and attendee lists are
    // filled; the others leave them empty.
    QList<Event> getByCalendar(const QString &calendarId) const; // with children
    // The same rows without their children, for callers that only find rows.
    QList<Event> getByCalendarWithoutChildren(const QString &calendarId) const;
    // The calendar's live rows as a provider's sync round matches and takes
    // them: id, calendar, uid, provider event id, etag, start, all-day flag,
    // zone, rule, exception dates, recurrence id, master uid, created, sync
    // status, and the raw text of series and of rows with exception dates;
    // the other columns empty, no children. getById gives a whole record.
    QList<Event> getSyncRowsByCalendar(const QString &calendarId) const;
    std::optional<Event> getById(const QString &id) const; // with children
    std::optional<Event> getByUid(const QString &uid, const QString &calendarId) const;
    // A null and an empty recurrence id both find the series master.
    std::optional<Event> getByUidAndRecurrenceId(const QString &uid, const QString &calendarId,
                                                 const QString &recurrenceId) const;
    // Live rows of the calendars (every calendar for an empty list) that
    // overlap [from, to): starting before `to` and ending after `from` (no
    // end: any start before `to`), every repeating master starting before
    // `to`, and every override row whatever its own times, so that expansion
    // can put a moved occurrence in its place. All-day rows compare by their
    // dates. Ordered by start, then id; with children.
    QList<Event> getInRange(const QDateTime &from, const QDateTime &to, const QStringList &calendarIds = {}) const;
    // The rows of getInRange, in its order, as a view draws, filters and
    // expands them: id, calendar, uid, provider event id, title,
    // description, location, times, all-day flag, zone, the recurrence
    // columns, status and colour, and the raw text of repeating rows and
    // overrides (expansion reads zones from it); the other columns empty and
    // no children. The window's own rows come from one covering index;
    // getById gives a row's whole record.
    QList<Event> getViewRowsInRange(const QDateTime &from, const QDateTime &to,
                                    const QStringList &calendarIds = {}) const;
    // Whether more than `limit` live rows start in [from, to), counting no
    // further: what a reader weighs before reading a window at once.
    bool startsMoreThan(const QDateTime &from, const QDateTime &to, int limit) const;
    // The rows of getInRange that repeat (by a rule or by dates), have no
    // end, or override an occurrence, in its order, with children: what
    // reminds per occurrence, without the window's single events.
    QList<Event> getStandingInRange(const QDateTime &from, const QDateTime &to,
                                    const QStringList &calendarIds = {}) const;
    // What the reminder poll expands: of the rows getStandingInRange
    // returns, the masters repeating by a rule or by listed dates alone
    // that have reminders, and the
    // overrides of their series, in its order, with reminders (attendees
    // left empty). Only those rows are read, not every series, and after a
    // write only those the change log names.
    QList<Event> getRemindingSeriesInRange(const QDateTime &from, const QDateTime &to) const;
    QList<Event> getPending(const QString &calendarId) const;
    // Title, location or description containing `text` literally, letter
    // case aside in any script; at most max(limit, 1) rows by start.
    QList<Event> search(const QString &text, int limit) const;
    // The rows a search of [from, to) expands (with children): live rows of
    // the calendars (every calendar for an empty list) containing `text` as
    // search() does; of the one-off rows those in the window (a row without
    // an end: its start), at most max(limit, 1), nearest to `near` first;
    // every repeating master starting before `to`; the overrides that match
    // or belong to a matching master.
    QList<Event> searchInRange(const QString &text, const QDateTime &from, const QDateTime &to,
                               const QStringList &calendarIds, const QDateTime &near, int limit) const;
    // The live override rows (those with a recurrence id) of the series
    // `masterUid` in `calendarId`, but for the row `exceptId`.
    QStringList liveOverrideIds(const QString &calendarId, const QString &masterUid, const QString &exceptId) const;

    // The event row and its child rows are written atomically (a savepoint,
    // which nests inside a caller's transaction). An empty sync_status is
    // stored as "synced"; created and last_modified come from the record.
    bool insert(const Event &event);
    // Rewrites every column but created, last_modified = now and an empty
    // sync_status stored as SyncStatus::Pending, and REPLACES the event's reminder and
    // attendee rows with the record's lists. Pass a record whose lists are
    // complete: getByUid, getByUidAndRecurrenceId, getPending and search
    // return records without them, and updating such a record as it is
    // deletes the event's reminders and attendees. Fails when no row has the
    // id (deleted meanwhile, e.g. by a pull).
    bool update(const Event &event);
    // Makes the row a tombstone; its child rows stay.
    bool remove(const QString &id);
    // Undo of a deletion: clears the tombstone of the row when it still exists,
    // else inserts the snapshot again without its server identity; SyncStatus::Pending.
    bool restore(const Event &event);
    // Deletes the row and its attendee, attachment and reminder rows.
    bool hardDelete(const QString &id);
    // Sets href and etag and marks the row "synced"; last_modified stays.
    bool markSynced(const QString &id, const QString &href, const QString &etag);
    // Many writes as one: in one savepoint of the caller's transaction (a
    // transaction of its own outside one), without the cost each pays
    // alone. One outcome per write, in order. A write the store refuses is
    // left out and the others stand; when the store fails, every outcome is
    // Failed and nothing of the batch stays. The change log holds every
    // event written, as for single writes. EventWrite::Undo::Caller spares
    // a batch inside the caller's transaction its savepoint.
    QList<EventWrite::Outcome> writeBatch(const QList<EventWrite> &writes,
                                          EventWrite::Undo undo = EventWrite::Undo::Savepoint);
    // For callers that wrote through their own SQL.
    void scheduleChanged(const QString &calendarId);
    // The events' change counter: it moves with every write to an event, its
    // reminders or attendees, by any connection. Empty when unreadable.
    std::optional<qint64> changeCounter() const;
    // The connection the rows live on: several writes that stand or fall
    // together run in one StoreTransaction on it.
    Database *database() const { return m_database; }

Q_SIGNALS:
    void eventsChanged(const QString &calendarId);

private:
    struct RowsStamp;
    struct StandingRows;
    struct KeptWindow;
    struct KeptReminding;
    std::optional<RowsStamp> currentStamp() const;
    // `stamp`: the rows' stamp now, read in the caller's snapshot.
    StandingRows &standingRows(const QString &upper, bool mayKeep, const std::optional<RowsStamp> &stamp) const;
    // Brings kept rows up to `version` by the events' change log; false when
    // they must be read anew.
    bool readChanged(StandingRows &rows, qint64 version) const;
    enum class RangeRows { Full, View, Standing };
    QList<Event> rangeRows(const QDateTime &from, const QDateTime &to, const QStringList &calendarIds,
                           RangeRows kind) const;
    QList<Event> select(const char *operation, const QString &whereAndOrder, const QVariantList &values) const;
    bool write(const Event &event, bool isUpdate);

    Database *m_database;
    ChangeCoalescer *m_changes;
    // The rows every range query returns whatever its window, as they were
    // at the events' change counter; see getInRange.
    mutable std::unique_ptr<StandingRows> m_standing;
    mutable std::unique_ptr<StandingRows> m_scratchStanding;
    // The windows views read last, newest first; see rangeRows.
    mutable std::vector<std::unique_ptr<KeptWindow>> m_keptWindows;
    // The rows the reminder poll read last; see getRemindingSeriesInRange.
    mutable std::unique_ptr<KeptReminding> m_keptReminding;
};
