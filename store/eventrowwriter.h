#pragma once

#include "eventwrite.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class Database;
class SqliteStatement;

// Writes event rows for EventRepository: one at a time, or a batch in one
// pass. Values are bound as UTF-8 and integers on statements prepared once
// per connection. Internal to the store library.
class EventRowWriter
{
public:
    explicit EventRowWriter(Database &db);

    // One write with its reminder and attendee rows, its times zoned first,
    // into `*outcome` (Refused: an update whose row is gone) and `*id` (the
    // row's); `now` stamps an import. False on a failure: errorText() says
    // why when the row's statement failed, the child rows log their own.
    bool writeOne(const EventWrite &write, const QString &now, EventWrite::Outcome *outcome, QString *id);
    // Deletes the rows and their attendee, attachment and reminder rows; a
    // child table that fails is logged and left.
    bool deleteRows(const QStringList &ids);

    enum class Result {
        Written, // every write has its outcome
        // A write was refused in a way only writing it shows (a constraint
        // or trigger the checks before it don't know): nothing of the batch
        // stays, and the writes must go one at a time.
        OneByOne,
        Failed, // the store failed (StoreFailure::last()); nothing stays
    };
    // The writes in order, in one savepoint (a transaction of its own
    // outside one), into `outcomes`. Triggers::Keep leaves the change log
    // to the triggers, as for a single write: for writes one at a time,
    // where turning them off costs more than it saves. Undo::Caller inside
    // a transaction, with the triggers paused, goes without the savepoint.
    enum class Triggers { MayPause, Keep };
    Result write(const QList<EventWrite> &writes, QList<EventWrite::Outcome> &outcomes,
                 Triggers triggers = Triggers::MayPause, EventWrite::Undo undo = EventWrite::Undo::Savepoint);

    QString errorText() const { return m_error; }

private:
    // The stored row of an Import write: its id (`e` takes it too), or empty
    // on a failure; `outcome` tells whether it was added, rewritten or left as it was.
    QString importRow(Event &e, const QString &now, EventWrite::Outcome *outcome);
    // The row of `e` (its times zoned already), children aside; false on a
    // failure (errorText() says why).
    bool insertRow(const Event &e);
    // `*matched` tells whether a row had the id.
    bool updateRow(const Event &e, bool *matched);
    // One run of the update `sql` (bound as updateSql() binds) on the row
    // of e.id, `now` its last_modified.
    bool rewriteRow(const QString &sql, const Event &e, const QString &now, bool *matched);
    bool logChanges(const QStringList &ids);
    // Whether the tables a batch writes carry no trigger but the change
    // log's.
    bool onlyOwnTriggers();
    std::shared_ptr<SqliteStatement> prepared(const QString &sql);
    // prepared() of a text that lives as long as the program, looked up by
    // its address: a batch runs the same few statements for every row.
    std::shared_ptr<SqliteStatement> kept(const QString &sql);

    Database &m_db;
    QString m_error;
    std::vector<std::pair<const QString *, std::shared_ptr<SqliteStatement>>> m_kept;
};
