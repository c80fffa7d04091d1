#pragma once

#include "storetransaction.h"

#include <QString>

class Database;

// Applies a form's changes to a row as it stands now rather than to the copy
// the form was opened with: the row is read again and written back in one
// transaction, so what a sync stored meanwhile in the columns the form leaves
// alone is not rolled back. A row that is gone or a tombstone is not written;
// nor is one the change leaves as it was, which keeps its stamps and sync
// state.
namespace StoredRowEdit {

// `repository` offers getById(id) -> std::optional<Record> and
// update(Record) -> bool; `change` takes the Record by reference.
template<typename Repository, typename Change>
bool apply(Database *database, Repository *repository, const QString &id, Change &&change)
{
    if (!database || !repository)
        return false;
    StoreTransaction transaction(database, StoreTransaction::Lock::Immediate);
    if (!transaction.isActive())
        return false;
    auto row = repository->getById(id);
    if (!row || row->deleted_at)
        return false;
    const auto stored = *row;
    change(*row);
    if (*row == stored)
        return true;
    return repository->update(*row) && transaction.keep();
}

} // namespace StoredRowEdit
