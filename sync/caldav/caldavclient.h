#pragma once

#include "syncresult.h"
#include "untrustedcertinfo.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QSslError;

// The HTTP layer of CalDAV: WebDAV and CalDAV verbs with Basic authentication
// and certificate pinning. It reads no XML beyond the prolog (see below) and
// does not interpret statuses.
//
// Every request is asynchronous; its callback runs exactly once, on the
// client's thread, after the reply has finished (unless the client is deleted
// first: replies die with it). Redirects are never followed: a 3xx comes back
// as it is, so credentials never travel to a host the caller did not name.
// A server that takes a request and then stays silent for the transfer
// timeout fails it with status 0, and so does one that is still answering
// when the request deadline has passed (a byte now and then keeps the
// transfer timeout at bay), so that no sync waits for ever. An answer larger
// than its bound (ReplySizeGuard: a multistatus for PROPFIND and REPORT, one
// object for the other verbs) is cut off there and fails with status 0. A
// 2xx XML answer (PROPFIND, REPORT, PROPPATCH, MKCALENDAR) that declares a
// document type is refused unread (CalDavParse::declaresDocumentType).
class CalDavClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultTransferTimeoutMs = 60000;
    static constexpr int kDefaultRequestDeadlineMs = 300000;

    struct Response
    {
        int status = 0; // 0: no HTTP answer at all
        QByteArray body;
        QHash<QByteArray, QByteArray> headers; // names as the server sent them
        // The network layer's text when there was no usable answer: nothing
        // at all (status 0), or one cut off after its status line. Empty for
        // every complete answer, 4xx and 5xx included.
        QString error;
        QNetworkReply::NetworkError networkError = QNetworkReply::NoError; // set with `error`
        // The bound in bytes the answer was cut off at (with `error` set and
        // no body); 0 when it was not.
        qint64 cutOffAt = 0;
        // The answer declared a document type and was refused (with `error`
        // set and no body).
        bool documentType = false;

        // Case-insensitive: over HTTP/2 every name arrives in lower case.
        QByteArray header(const QByteArray &name) const;
        // The ETag header as stored: a strong tag without its quotes, a weak
        // one (W/"…") exactly as sent, since If-Match must repeat it so.
        // Empty when absent.
        QString etag() const;

        // A complete 2xx answer.
        bool isSuccess() const;
        // A PUT or DELETE is confirmed by 2xx other than 207: a multistatus
        // answer to a write reports a failure on some resource.
        bool isWriteSuccess() const;
        // 412: the If-Match ETag is stale, someone else changed the resource.
        bool hasConflict() const;
        // This answer, or its absence, as the result of `step`.
        SyncResult result(SyncResult::Step step) const;
    };
    using Callback = std::function<void(const Response &)>;

    // With a network access manager of its own.
    explicit CalDavClient(QObject *parent = nullptr);
    // With `manager`, which must outlive this client. Qt keeps a connection's
    // accepted TLS errors for every later request on it, so a manager may be
    // shared only between clients that pin the same certificate, and changing
    // the pin here leaves its open connections alone.
    explicit CalDavClient(QNetworkAccessManager *manager, QObject *parent = nullptr);

    void setCredentials(const QString &userName, const QString &password);
    // For requests sent from now on: how long a reply may go without a byte
    // before it fails; 0 waits without end.
    void setTransferTimeout(int msecs) { m_transferTimeoutMs = msecs; }
    // For requests sent from now on: how long a whole request may take from
    // sending to its last byte; 0 waits without end.
    void setRequestDeadline(int msecs) { m_requestDeadlineMs = msecs; }
    // Keeps the letters and digits of `fingerprint` (a displayed "ab:cd:…"
    // works), upper-cased; an empty text unpins. Clears the pending certificate.
    void setTrustedCertificateSha256(const QString &fingerprint);
    QString trustedCertificateSha256() const { return m_pin; }

    bool hasPendingUntrustedCert() const { return m_pendingCert.has_value(); }
    // The last certificate that failed verification and was not pinned;
    // default-constructed when there is none.
    UntrustedCertInfo pendingUntrustedCert() const;

    void propfind(const QUrl &url, const QByteArray &body, int depth, Callback callback);
    void report(const QUrl &url, const QByteArray &body, int depth, Callback callback);
    void proppatch(const QUrl &url, const QByteArray &body, Callback callback);
    void mkcalendar(const QUrl &url, const QByteArray &body, Callback callback);
    // `contentType` replaces the XML content type when non-empty; If-Match is
    // sent when `etag` is non-empty.
    void put(const QUrl &url, const QByteArray &body, const QString &contentType, Callback callback,
             const QString &etag = QString());
    // PUT with "If-None-Match: *": creates the resource and fails with 412
    // when one exists at the URL already.
    void putNew(const QUrl &url, const QByteArray &body, const QString &contentType, Callback callback);
    void deleteResource(const QUrl &url, Callback callback, const QString &etag = QString());

    // "AB:CD:…" for display.
    static QString formatFingerprint(const QString &fingerprint);
    // The If-Match value of a stored (unquoted) ETag; "*", quoted and weak
    // (W/"…") tags stay as they are; empty for an empty ETag.
    static QString quoteEtag(const QString &etag);

Q_SIGNALS:
    // A reply's certificate did not verify and is not the pinned one. The
    // request then fails with status 0 and the TLS error text.
    void untrustedCertEncountered(const UntrustedCertInfo &info);

private:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    void sendRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &extraHeaders,
                     Callback callback);
    void onReplyFinished(QNetworkReply *reply, bool xmlAnswer, const Callback &callback);
    void onSslErrors(QNetworkReply *reply, const QList<QSslError> &errors);

    QNetworkAccessManager *m_manager;
    bool m_ownsManager;
    QString m_userName;
    QString m_password;
    QString m_pin;
    std::optional<UntrustedCertInfo> m_pendingCert;
    int m_transferTimeoutMs = kDefaultTransferTimeoutMs;
    int m_requestDeadlineMs = kDefaultRequestDeadlineMs;
    QSet<QNetworkReply *> m_overdue; // aborted at the request deadline
};
