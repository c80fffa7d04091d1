#pragma once

#include "caldavitemstore.h"
#include "storefailure.h"
#include "storeworker.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <atomic>
#include <functional>
#include <optional>

class QObject;

// The rows of one CalDAV calendar as its sync run reads and writes them off
// the window's thread: the server's answers are read, compared and written
// on a StoreWorker, over a connection of its own to the database file, and
// only the outcome comes back, queued to `context` (which outlives this
// store). What the window shows
// learns of the change from the run (the repositories' scheduleChanged).
//
// The window's writes go in between: each transaction here takes the write
// lock at once (the reads it decides on stay true), ends after a few
// milliseconds of work, and then leaves the lock free for a moment.
// Destroying it drops what is not begun and waits for the running step,
// which stops at its next transaction; a resource half written then has
// rows without its ETag and is fetched again.
class CalDavWorkerStore
{
public:
    // A transaction of the worker ends once it took this long.
    static constexpr int kTransactionMs = 20;

    // One listing compared with the rows: every href listed, those whose
    // ETag moved, and whether the server listed its whole collection.
    struct Listing
    {
        QSet<QString> listed;
        QStringList changed;
        bool whole = false;
    };
    // One multiget answer written.
    struct Answer
    {
        CalDavItemStore::Applied applied;
        QSet<QString> filled; // the hrefs the answer held data for
    };
    // The server's newer text at a resource, read with the text both sides
    // last agreed on, for a merge; each keeps its text in resource.calendarData
    // (empty for a base there is none of).
    struct ServerCopy
    {
        CalDavItemStore::Fetched base;
        CalDavItemStore::Fetched server;
    };

    CalDavWorkerStore(const QString &databaseFile, const QString &calendarId, const QUrl &collection,
                      QObject *context);

    // The first failure of the store a step met that no retry of the row
    // cures (a full disk, a read-only or failing file); None until one did.
    // Read it in a step's `done`.
    StoreFailure::Kind storeFailure() const { return m_storeFailure.load(); }

    // The key of an unreadable object of `component` in the problems table.
    static QString unreadableKey(const QString &component, const QString &href);

    // Each step's `done` gets nothing when the worker could not open the
    // file.

    // A listing of objects of `component`; unreadable objects whose ETag
    // moved are forgotten, so that they are fetched.
    void compare(const QString &component, const QByteArray &listing, std::function<void(std::optional<Listing>)> done);
    // A multiget answer read and written; unreadable objects recorded.
    void apply(const QString &component, const QByteArray &answer, std::function<void(std::optional<Answer>)> done);
    // After a whole listing: the rows and unreadable records it no longer
    // holds are dropped; `done` gets how many rows there were.
    void dropUnlisted(const QString &component, const QSet<QString> &listed, std::function<void(std::optional<int>)> done);
    // The server's answer about the one resource `href`: written, or the
    // resource dropped when the answer holds nothing there.
    void applyOne(const QString &component, const QByteArray &answer, const QString &href,
                  std::function<void(std::optional<CalDavItemStore::Applied>)> done);
    // What waits to be pushed (see CalDavItemStore::pendingKeys).
    void pendingKeys(const QString &component, std::function<void(std::optional<QStringList>)> done);
    // The server's text at `href` when it is the one of `etag` and waits to
    // be merged, read with its base; empty otherwise.
    void serverCopy(const QString &component, const QString &href, const QString &etag,
                    std::function<void(std::optional<ServerCopy>)> done);

private:
    template<typename Result>
    void post(std::function<std::optional<Result>(Database *)> work, std::function<void(std::optional<Result>)> done);

    QString m_calendarId;
    QUrl m_collection;
    QObject *m_context;
    std::atomic<StoreFailure::Kind> m_storeFailure{StoreFailure::None};
    StoreWorker m_worker;
};
