#pragma once

#include "filterrule.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

class Database;

// Hide and dim rules in `filter_rules`. remove() leaves a tombstone for
// configuration sync; every successful write emits filterRulesChanged() at
// once, also when no row matched.
class FilterRuleRepository : public QObject
{
    Q_OBJECT
public:
    FilterRuleRepository(Database *database, QObject *parent = nullptr);

    // Live rules by priority, then name.
    QList<FilterRule> getAll() const;
    QList<FilterRule> getAllIncludingDeleted() const;
    std::optional<FilterRule> getById(const QString &id) const; // tombstones included
    // Live, enabled rules: what the filter engine is fed.
    QList<FilterRule> getEnabled() const;

    // Every value from the record, sync_status and both times included.
    bool insert(const FilterRule &rule);
    // sync_status from the record; updated_at = now; created_at stays.
    bool update(const FilterRule &rule);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);
    // priority 10, 20, 30, ... in list order, SyncStatus::Pending, one transaction.
    bool reorder(const QStringList &ids);
    bool setEnabled(const QString &id, bool enabled);

Q_SIGNALS:
    void filterRulesChanged();

private:
    bool changed(bool ok);

    Database *m_database;
};
