#pragma once

#include <QByteArray>
#include <QString>

// What one request of a sync run came to, for every sync client: the HTTP
// status, the network layer's text when there was no answer, and the
// server's own words. It answers how a run goes on: the item is done, the
// server refused this one item (mark it and go on with the others), or the
// server or the way to it failed (end the run and try again later).
struct SyncResult
{
    int status = 0;       // 0: no HTTP answer
    QString networkError; // set when there was no usable answer
    QString serverText;   // the start of the answer's body, on one line

    static SyncResult fromHttp(int status, const QString &networkError, const QByteArray &body);

    bool isSuccess() const;
    // 412: the item changed on the server since it was last read.
    bool hasConflict() const;
    // The server will not take this item as it is (403 forbidden or a
    // read-only collection, 400 bad request, 413 too large, 415 not a type
    // it stores): sending it unchanged again brings the same answer.
    bool isRefusal() const;
    // No answer, 401, 408, 429 or 5xx: nothing said about the item; the run
    // ends and is tried again later.
    bool canRetryLater() const;
    // "HTTP 403: <server text>", for the item the answer marks.
    QString describe() const;

    friend bool operator==(const SyncResult &a, const SyncResult &b);
    friend bool operator!=(const SyncResult &a, const SyncResult &b) { return !(a == b); }
};
