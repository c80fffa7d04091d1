#pragma once

#include "account.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;

// The `accounts` table. Accounts have no sync status: remove() deletes the
// row, and fails while calendars of the account exist (delete those first).
class AccountRepository : public QObject
{
    Q_OBJECT
public:
    AccountRepository(Database *database, QObject *parent = nullptr);

    // Ordered by sort_order, then name (bytewise).
    QList<Account> getAll() const;
    std::optional<Account> getById(const QString &id) const;

    // Writes the record's own created_at/updated_at (callers set both to now).
    bool insert(const Account &account);
    // updated_at becomes now; created_at and sort_order stay.
    bool update(const Account &account);
    bool remove(const QString &id);
    // Gives the listed accounts sort_order 10, 20, 30, ... in one transaction;
    // accounts not listed keep theirs. An empty list changes nothing.
    bool reorder(const QStringList &ids);

Q_SIGNALS:
    void accountsChanged();

private:
    Database *m_database;
};
