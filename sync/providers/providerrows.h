#pragma once

#include "event.h"
#include "providereventrepository.h"
#include "providerstore.h"
#include "resourcebaserepository.h"

#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class AppState;

// What both providers' sync clients do with a calendar's rows around the
// server's copies of its events. The server's copy that both sides last
// agreed on is kept per provider event id (the base). A pulled change to a
// row without local changes replaces the row; one to a row with pending
// changes is merged into it at once, property by property against the base
// (the local value wins where both changed one, and the conflict is
// recorded), and that server copy with its version is kept as what the push
// writes against: the row keeps its own version, so a write that meets yet
// another change is still refused by If-Match. An update then sends only the
// properties that differ from that copy, a cleared one included, so that
// what this program does not model stays as the server has it.
class ProviderRows
{
public:
    // The provider's event mapping, both ways.
    using FromJson = std::function<Event(const QJsonObject &item)>;
    using ToJson = std::function<QJsonObject(const Event &event)>;

    // What an update of a row sends.
    struct Update
    {
        QJsonObject body; // the properties that changed; empty: nothing to send
        QString etag; // the version written against
        // Occurrences of a series excluded since that version (override
        // keys): cancelled one by one on the server, not sent in the body.
        QStringList cancelled;
    };

    // Over the application's own connection.
    ProviderRows(AppState *appState, const QString &calendarId, FromJson fromJson, ToJson toJson);
    ProviderRows(const ProviderStore &store, const QString &calendarId, FromJson fromJson, ToJson toJson);

    // Pull: `server` (the mapping of `item`, which it holds as its text) is
    // new here and goes in as a synced row. False when it could not be stored.
    bool insert(const Event &server);
    // Pull: the server's copy `server` (mapped, with the resource as its
    // text) of the stored row `local`: taken over a synced row, merged into a
    // pending one. Exception
    // dates the row holds beyond the base (cancelled occurrences, which the
    // server lists apart) stay. False when the row could not be written.
    bool take(const Event &local, Event server);

    // Push: the update of the pending row `row`, which has a provider id.
    Update update(const Event &row) const;
    // Push: the server took the row as `resource`; its base from now on.
    void written(const QString &providerEventId, const QJsonObject &resource);
    // Push or pull: the server's event is gone.
    void gone(const QString &providerEventId);
    // Pull: the synced rows `rows` are gone there; they go here, with their
    // bases. False when a statement failed.
    bool removeAll(const QList<Event> &rows);

    // After a complete listing that named `listed`: synced rows holding any
    // other provider id are removed (pending ones stay, to be pushed). A
    // listing of a window [from, to) only prunes rows starting in it. The
    // number removed.
    int pruneUnlisted(const QSet<QString> &listed, const QDateTime &from = {}, const QDateTime &to = {});

    // The properties of `local` that differ from `reference`, with null for
    // one `local` no longer has.
    static QJsonObject changes(const QJsonObject &reference, const QJsonObject &local);

    // While one lives, inside a transaction, which of the calendar's events
    // have a base is read once at its start: a synced row replaced whole
    // then forgets its base only where it has one, rather than in a
    // statement per event that a round of new events does not run.
    class Round
    {
    public:
        explicit Round(ProviderRows &rows);
        ~Round();
        Round(const Round &) = delete;
        Round &operator=(const Round &) = delete;

    private:
        ProviderRows &m_rows;
    };

private:
    // Removes the rows `ids` and the bases of `providerIds`.
    bool remove(const QStringList &ids, const QStringList &providerIds);
    // The server's copy `row` was last agreed on, or merged with: kept apart,
    // else the pulled text the row holds.
    std::optional<Event> baseOf(const Event &row, QString *etag = nullptr) const;
    // Keeps the server's copy `server` apart as what the push writes against.
    void keepServerText(const Event &server);
    // Forgets the bases of `providerIds`, those known to have none left out.
    bool forget(const QStringList &providerIds);

    ProviderStore m_store;
    QString m_calendarId;
    FromJson m_fromJson;
    ToJson m_toJson;
    ResourceBaseRepository m_bases;
    ProviderEventRepository m_rows;
    std::optional<QSet<QString>> m_withBase; // during a Round: the provider ids with a base
};
