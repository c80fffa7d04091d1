#pragma once

#include "caldavclient.h"
#include "syncresult.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class CalDavItemStore;
class CalDavWorkerStore;
class SyncItemProblems;

// The push of one kind of calendar object: locally changed rows go to the
// server one resource at a time, each request after the previous answer.
// What waits is asked once, when the push starts (see
// CalDavItemStore::pendingKeys). A 412 (someone else changed the resource) fetches the server's copy, lets
// the store take its ETag and keep its text (pending rows keep their
// content), and sends the resource once more, merged with that copy; after
// a second 412 the item stays pending for the next run, conflict() keeps
// that answer, and the push goes on with the others. A write the server
// refuses for the item itself (see SyncResult::isRefusal) marks the item
// with the server's answer and the push goes on; the same text is not sent
// again until the item changes. Any other failure ends the push. Owned by
// its sync run.
class CalDavPush : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void()>;
    using Fail = std::function<void(const SyncResult &result)>;

    CalDavPush(CalDavClient *client, const QUrl &collection, const QString &calendarName, CalDavItemStore *store,
               CalDavWorkerStore *worker, QObject *parent);

    // Where refusals are kept; without it every refused item fails the push.
    void setProblems(SyncItemProblems *problems) { m_problems = problems; }
    // Calls exactly one of `done` and `fail`, later.
    void start(Done done, Fail fail);
    // The answer of the first item left pending after a second 412.
    std::optional<SyncResult> conflict() const { return m_conflict; }

protected:
    // Sends the resource of `key` (`retried` after a 412); goes on with
    // next() or ends with fail().
    virtual void push(const QString &key, bool retried) = 0;

    void finish();
    void fail(const SyncResult &result);
    // Fails with the local store's last failure on this thread.
    void storeFailed();
    // The answer to the write of the item the user calls `title`, at `step`.
    static SyncResult writeResult(const CalDavClient::Response &response, SyncResult::Step step, const QString &title);
    // Multiget of `href` and apply of what the server holds there (or drop
    // when nothing); `then` runs when that went through, else the push fails
    // with `failure`.
    void refresh(const QString &href, const SyncResult &failure, const std::function<void()> &then);
    // Continues with the next resource through the event loop, so that a
    // long run of local-only work never blocks it for long.
    void next();
    // The server refused `body` for `key` before: it is not sent again.
    bool wasRefused(const QString &key, const QByteArray &body) const;
    // The write of `key` went through: an earlier refusal is void.
    void accepted(const QString &key);
    // A write of `key` to `href` that did not go through: a refusal marks
    // the item and goes on with next(), a first 412 refreshes the item and
    // pushes it once more, a second one leaves it and goes on, anything else
    // fails with `result`.
    void rejected(const QString &key, const QByteArray &body, const QString &href, const SyncResult &result,
                  bool retried);

    CalDavClient *m_client;
    QUrl m_collection;
    QString m_calendarName;
    CalDavWorkerStore *m_worker;

private:
    void pushNext();

    CalDavItemStore *m_store;
    SyncItemProblems *m_problems = nullptr;
    QHash<QString, QString> m_refused; // key -> digest of the refused text, read once
    Done m_done;
    Fail m_fail;
    QStringList m_queue;
    bool m_started = false;
    std::optional<SyncResult> m_conflict;
};
