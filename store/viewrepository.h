#pragma once

#include "calendarview.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;

// Calendar groups in `calendar_views`. remove() leaves a tombstone for
// configuration sync; every successful write emits viewsChanged() at once,
// also when no row matched.
class ViewRepository : public QObject
{
    Q_OBJECT
public:
    ViewRepository(Database *database, QObject *parent = nullptr);

    // Live groups, the default one first, then by sort_order and name.
    QList<CalendarView> getAll() const;
    QList<CalendarView> getAllIncludingDeleted() const;
    std::optional<CalendarView> getById(const QString &id) const; // tombstones included

    // Every value from the record, sync_status and both times included.
    bool insert(const CalendarView &view);
    // sync_status from the record; updated_at = now; created_at stays.
    bool update(const CalendarView &view);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    // sort_order 10, 20, 30, ... in list order, SyncStatus::Pending, one transaction.
    bool reorder(const QStringList &ids);

Q_SIGNALS:
    void viewsChanged();

private:
    bool changed(bool ok);

    Database *m_database;
};
