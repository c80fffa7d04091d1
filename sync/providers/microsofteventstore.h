#pragma once

#include "event.h"
#include "providerrows.h"
#include "providerstore.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class AppState;
class ProviderProblems;

namespace Microsoft {

// What a calendar's rows make of a Graph calendar view, and what they send
// back. The view lists single events, occurrences and exceptions, never the
// series masters: a series is kept as its master row (the rule, read from
// the master itself) with override rows for exceptions, keyed by their
// original start, and EXDATEs for occurrences gone from the view. A master
// row's resource also keeps the ids of the instances seen ("@instances",
// id -> original start) and the exclusions the server has ("@exdates"), so
// that a removal naming only an id, and an exclusion made here, find their
// occurrence.
class EventStore
{
public:
    // The outcome of applying one listing to the store.
    struct Applied
    {
        int upserted = 0;
        int tombstoned = 0;
        int failed = 0;
    };

    EventStore(AppState *appState, const QString &calendarId);
    // Over `store`, a worker's connection for a round's reads and writes.
    EventStore(const ProviderStore &store, const QString &calendarId);

    // The series masters that `items` touch: those whose occurrences or
    // exceptions changed or went away.
    QStringList seriesToRead(const QList<QJsonObject> &items) const;

    // Writes one round into the rows, in the caller's transaction (a
    // savepoint around thousands of per-row savepoints would cost far more
    // than their writes). `masters` are the
    // series masters read for it, `gone` those the server no longer has. An
    // item that cannot be stored goes to `problems` when given, else counts
    // as failed. A
    // pending row whose server copy changed takes what the other side changed
    // and the user here did not; where both changed a property the local
    // value stays and the conflict is recorded. A valid `from` marks a
    // complete round over [from, to): the synced rows in it that the round
    // no longer lists go.
    Applied apply(const QList<QJsonObject> &items, const QList<QJsonObject> &masters, const QStringList &gone,
                  ProviderProblems *problems = nullptr, const QDateTime &from = {}, const QDateTime &to = {});

    // What the push sends for `row`: the properties that differ from the
    // server's copy (all of them for a new event), and the version written
    // against. A changed occurrence without an id of its own yet is compared
    // with its series. `problem` says why the row cannot go as it is.
    ProviderRows::Update changes(const Event &row, const Event *series, QString *problem) const;
    // The server took `row` (which has its id now) as `resource`.
    void written(Event &row, const QJsonObject &resource);
    // The server's event `providerEventId` is gone.
    void gone(const QString &providerEventId) { m_rows.gone(providerEventId); }
    // Exclusions made here that the server does not have yet.
    static QStringList newExclusions(const Event &master);
    // The instance id the master's view knows for `originalStart`; empty
    // when none.
    static QString knownInstance(const Event &master, const QString &originalStart);
    // The master row after the occurrence at `originalStart` was deleted on
    // the server.
    static void excluded(Event &master, const QString &originalStart);

private:
    // The pending row an insert of this program made `item` for, holding its identity now.
    std::optional<Event> madeHere(const QJsonObject &item) const;
    int prune(const QSet<QString> &listedIds, const QSet<QString> &listedSeries, const QDateTime &from,
              const QDateTime &to);

    ProviderStore m_store;
    QString m_calendarId;
    ProviderRows m_rows;
};

} // namespace Microsoft
