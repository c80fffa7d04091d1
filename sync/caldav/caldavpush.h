#pragma once

#include "caldavclient.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class CalDavItemStore;

// The push of one kind of calendar object: locally changed rows go to the
// server one resource at a time, each request after the previous answer.
// A 412 (someone else changed the resource) fetches the server's copy, lets
// the store take its ETag and keep its text (pending rows keep their
// content), and sends the resource once more, merged with that copy; a
// second 412 fails. Owned by its sync run.
class CalDavPush : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void()>;
    using Fail = std::function<void(const QString &reason)>;

    CalDavPush(CalDavClient *client, const QUrl &collection, const QString &calendarName,
               CalDavItemStore *store, QObject *parent);

    // Calls exactly one of `done` and `fail`, later.
    void start(Done done, Fail fail);

protected:
    // What waits to be pushed, one key per resource in sending order; asked
    // once, when the push starts.
    virtual QStringList pendingKeys() = 0;
    // Sends the resource of `key` (`retried` after a 412); goes on with
    // next() or ends with fail().
    virtual void push(const QString &key, bool retried) = 0;

    void finish();
    void fail(const QString &reason);
    // Multiget of `href` and apply of what the server holds there (or drop
    // when nothing); `then` runs when that went through, else the push fails
    // with `reasonOnFailure`.
    void refresh(const QString &href, const QString &reasonOnFailure, const std::function<void()> &then);
    // Continues with the next resource through the event loop, so that a
    // long run of local-only work never blocks it for long.
    void next();

    CalDavClient *m_client;
    QUrl m_collection;
    QString m_calendarName;

private:
    void pushNext();

    CalDavItemStore *m_store;
    Done m_done;
    Fail m_fail;
    QStringList m_queue;
    bool m_started = false;
};
