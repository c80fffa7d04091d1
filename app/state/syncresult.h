#pragma once

#include "storefailure.h"

#include <QByteArray>
#include <QMetaType>
#include <QNetworkReply>
#include <QString>

// What one request of a sync or refresh came to, for every sync client, and
// how a failure travels up to the window that puts it into words: the HTTP
// status, the network layer's error and text when there was no answer, the
// server's own words, and which step of the run it was. It answers how a run
// goes on: the item is done, the server refused this one item (mark it and
// go on with the others), or the server or the way to it failed (end the run
// and try again later).
struct SyncResult
{
    // What kind of failure it was, as far as it changes what the user is told.
    enum class Kind {
        Answer, // the server answered; `status` says how
        Network, // no usable answer: `networkError`, `networkErrorText`
        UntrustedCertificate, // the server's certificate did not verify
        SignInNeeded, // the server or the provider refused the credentials
        EmptyAnswer, // an answer without a body
        Unreadable, // an answer that is not what was asked for
        LocalStore, // the local store could not take the write: `storeFailure`
        TimedOut, // cut short after `limit` seconds
        TooLarge, // cut short past `limit` bytes
        BadAddress, // `subject` is no address a request can go to, or a provider's
                    // next link leaves its API
        Cancelled,
        NothingFound, // the server holds no calendars there
        AccountMissing, // the calendar's account row is gone
        NotConfigured, // this build carries no OAuth credentials for the provider
        SyncTokenRefused, // the listing's sync or delta token refused once more
        EndlessListing, // paging did not end; `limit`: the pages read, when counted
        IncompleteListing, // the server cut its listing short: what it did list was synced
        DocumentType, // an XML answer declared a document type (DTD): refused unread
        RateLimited, // a refusal that names a rate or usage limit (Google's 403): `status` as it came
    };
    // Which request of the run it was.
    enum class Step {
        None,
        Markers, // the collection's ctag and sync-token
        EventListing, // the ETags of the collection's events; a provider's events listing
        TaskListing, // the ETags of its to-dos
        Fetch, // a multiget of changed objects
        EventPush,
        TaskPush,
        Principal, // discovery: the principal
        HomeSet, // discovery: the calendar home set
        CalendarList, // discovery: the calendars of the home set; a provider's calendar list
        Feed, // a subscription's feed
        TokenRefresh, // a provider's OAuth token refresh
        EventInsert, // a provider's event writes, one request each
        EventUpdate,
        EventDelete,
    };
    // Whose API a request went to; None for CalDAV and subscriptions.
    enum class Provider {
        None,
        Google,
        Microsoft,
    };

    Kind kind = Kind::Answer;
    Step step = Step::None;
    Provider provider = Provider::None;
    int status = 0; // 0: no HTTP answer
    QNetworkReply::NetworkError networkError = QNetworkReply::NoError;
    QString networkErrorText; // set when there was no usable answer
    QString serverText; // the start of the answer's body, on one line
    // The item or address the failure is about, as the user named it: user
    // content, never logged above debug level.
    QString subject;
    qint64 limit = 0; // TimedOut: seconds; TooLarge: bytes; LocalStore: rows not stored
    StoreFailure::Kind storeFailure = StoreFailure::None;
    // The server's Retry-After (429, 503) in seconds; 0 when it named none.
    qint64 retryAfterSecs = 0;

    static SyncResult fromHttp(int status, const QString &networkErrorText, const QByteArray &body);
    // An answer, or its absence, at `step`: a Network (or, for a failed
    // TLS handshake, UntrustedCertificate) result when `networkErrorText`
    // is set.
    static SyncResult fromReply(Step step, int status, QNetworkReply::NetworkError networkError,
                                const QString &networkErrorText, const QByteArray &body = {});
    static SyncResult failure(Kind kind, Step step = Step::None);
    // A provider's request at `step`, refused by `kind` before or after it
    // went out.
    static SyncResult ofProvider(Provider provider, Kind kind, Step step = Step::None);

    // The same result as another kind (a 2xx answer that is unreadable).
    SyncResult withKind(Kind other) const
    {
        SyncResult out = *this;
        out.kind = other;
        return out;
    }

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
    // "HTTP 403: <server text>", the network error's text, or the kind: for
    // logs and the item the answer marks; never the subject.
    QString describe() const;

    friend bool operator==(const SyncResult &a, const SyncResult &b);
    friend bool operator!=(const SyncResult &a, const SyncResult &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(SyncResult)
