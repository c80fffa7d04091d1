#pragma once

#include "task.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class ChangeCoalescer;
class Database;

// The `tasks` table (VTODO items).
//
// insert, update, remove, hardDelete (and scheduleChanged) restart a 150 ms
// single-shot timer; when it fires, tasksChanged() names the calendar of the
// last write of the burst. markSynced signals nothing. A failed write returns
// false, logs one warning and signals nothing.
class TaskRepository : public QObject
{
    Q_OBJECT
public:
    TaskRepository(Database *database, QObject *parent = nullptr);

    // Live tasks, dated ones by due date and then sort order, undated last.
    QList<Task> getByCalendar(const QString &calendarId) const;
    std::optional<Task> getById(const QString &id) const; // tombstones included
    std::optional<Task> getByUid(const QString &uid, const QString &calendarId) const; // tombstones included
    // Live tasks of the calendars (every calendar for an empty list) due or
    // starting in [from, to); date-only values compare by their dates.
    // Undated-due tasks first, then by due date and sort order.
    QList<Task> getInRange(const QDateTime &from, const QDateTime &to, const QStringList &calendarIds = {}) const;
    // Rows still to push, tombstones included, oldest change first.
    QList<Task> getPending(const QString &calendarId) const;

    // An empty sync_status is stored as "synced", an empty repeat_mode as
    // "fromDueDate"; created and last_modified come from the record.
    bool insert(const Task &task);
    // Rewrites every column but created; last_modified = now, an empty
    // sync_status stored as SyncStatus::Pending. deleted_at comes from the record, so
    // updating a record without it clears a tombstone. Fails when no row has
    // the id.
    bool update(const Task &task);
    bool remove(const QString &id); // tombstone
    bool hardDelete(const QString &id);
    bool markSynced(const QString &id, const QString &href, const QString &etag);
    // Completes or reopens the task. Completing a repeating task moves it to
    // the next occurrence of its rule, counted from the series' first date
    // (kept in its stored text) at that date's wall clock, and reopens it
    // instead; only when the series is over (COUNT, UNTIL) is it stored as
    // completed. False for an unknown id.
    bool setCompleted(const QString &id, bool completed);
    // `text` with the series' first date and count of `from`, which a tick
    // moves on: what taking the tick back puts back.
    static QString withSeriesCountersOf(const QString &text, const QString &from);
    void scheduleChanged(const QString &calendarId);

Q_SIGNALS:
    void tasksChanged(const QString &calendarId);

private:
    // `seriesFirst` receives the series' first date as its stored text keeps
    // it (empty for a series counted from the completion); `done`, for one
    // counted from the completion, how many occurrences are done.
    bool advanceRepeating(Task &task, QString &seriesFirst, QString &done) const;

    Database *m_database;
    ChangeCoalescer *m_changes;
};
