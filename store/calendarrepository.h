#pragma once

#include "calendar.h"

#include <QList>
#include <QObject>

#include <optional>

class Database;

// The `calendars` table. Calendars have no sync status: remove() deletes the
// row, and fails while events or tasks of the calendar exist.
class CalendarRepository : public QObject
{
    Q_OBJECT
public:
    CalendarRepository(Database *database, QObject *parent = nullptr);

    // Ordered by sort_order, then name (bytewise).
    QList<Calendar> getAll() const;
    QList<Calendar> getByAccount(const QString &accountId) const;
    std::optional<Calendar> getById(const QString &id) const;

    // Writes all 22 fields, created_at/updated_at from the record.
    bool insert(const Calendar &calendar);
    // updated_at becomes now; created_at stays.
    bool update(const Calendar &calendar);
    // Only the two columns the calendar form edits, and updated_at: what a
    // sync stored in the others while the form was open stays.
    bool setNameAndColor(const QString &id, const QString &name, const QString &color);
    bool remove(const QString &id);
    // Makes `id` the one default calendar across all accounts, in one
    // transaction. An unknown id clears every default flag.
    bool setDefault(const QString &id);

Q_SIGNALS:
    void calendarsChanged();

private:
    Database *m_database;
};
