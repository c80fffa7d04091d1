#pragma once

#include "eventtemplate.h"

#include <QList>
#include <QObject>

#include <optional>

class Database;

// Event presets in `event_templates`. Every write marks the row SyncStatus::Pending for
// configuration sync (the record has no sync status); remove() leaves a
// tombstone. Every successful write emits templatesChanged() at once.
class TemplateRepository : public QObject
{
    Q_OBJECT
public:
    TemplateRepository(Database *database, QObject *parent = nullptr);

    // Live templates by sort_order, then name.
    QList<EventTemplate> getAll() const;
    QList<EventTemplate> getAllIncludingDeleted() const;
    // Live templates only.
    std::optional<EventTemplate> getById(const QString &id) const;

    // An empty id gets a new UUID for the row (the record is not changed); an
    // invalid created_at becomes now; updated_at is always now.
    bool insert(const EventTemplate &eventTemplate);
    // updated_at = now; created_at stays.
    bool update(const EventTemplate &eventTemplate);
    bool remove(const QString &id);
    bool hardDelete(const QString &id);

Q_SIGNALS:
    void templatesChanged();

private:
    bool changed(bool ok);

    Database *m_database;
};
