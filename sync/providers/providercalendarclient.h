#pragma once

#include "provideraccess.h"
#include "syncresult.h"

#include <QJsonObject>
#include <QLatin1StringView>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <optional>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;
namespace ProviderHttp {
struct Reply;
}

// What the calendar REST clients share: the bearer token, the requests that
// carry it, and the insert, update and delete of one event with the signals
// that report them. A provider names its events collection and the field in
// which a written event comes back with its new version. With an access set,
// a 401 is answered by one renewal of the token and one retry of the request.
// A 2xx answer that is not the JSON object expected is a failure (Unreadable):
// a listing page that is not one fails the listing, a written event that
// comes back without an id fails that write.
class ProviderCalendarClient : public QObject
{
    Q_OBJECT
public:
    void setAccessToken(const QString &token) { m_accessToken = token; }
    // Where a token the server refused (401) is renewed; the caller's.
    void setAccess(ProviderAccess *access) { m_access = access; }

    void insertEvent(const QString &localId, const QString &calendarId, const QJsonObject &event);
    // A PATCH: what the body does not carry (attendees, conference data...)
    // stays as the server has it.
    void updateEvent(const QString &localId, const QString &calendarId, const QString &providerEventId,
                     const QJsonObject &event, const QString &etag);
    void deleteEvent(const QString &localId, const QString &calendarId, const QString &providerEventId,
                     const QString &etag);

    // The events collection of a calendar, or one event of it.
    virtual QString eventsUrl(const QString &calendarId, const QString &eventId = {}) const = 0;

Q_SIGNALS:
    void requestFailed(const SyncResult &result);
    // The event as the server answered a write: emitted right before eventWritten.
    void eventResource(const QString &localId, const QJsonObject &resource);
    void eventWritten(const QString &localId, const QString &providerEventId, const QString &etag);
    void eventDeleted(const QString &localId);
    void eventWriteFailed(const QString &localId, const SyncResult &result);

protected:
    ProviderCalendarClient(QNetworkAccessManager *network, SyncResult::Provider provider,
                           QLatin1StringView versionField, QObject *parent);

    QNetworkRequest request(const QString &url, bool json, const QString &etag = QString()) const;
    // The If-Match value that guards a write against the stored `version`.
    virtual QString entityTag(const QString &version) const { return version; }
    // This provider's failure of `step`, with no HTTP answer behind it.
    SyncResult failure(SyncResult::Kind kind, SyncResult::Step step) const;
    bool hasAccessToken() const { return !m_accessToken.isEmpty(); }
    // Without a token, a listing at `step` fails at once: false after
    // requestFailed has reported that a sign-in is needed.
    bool signedIn(SyncResult::Step step);
    // The URL of a collection, or of its item `id` when there is one.
    static QString itemUrl(const QString &collection, const QString &id);
    // GETs one page of a listing at `step`: a failed answer is reported
    // through requestFailed, a good one goes to `onPage`.
    void getPage(const QString &url, SyncResult::Step step, std::function<void(const QJsonObject &page)> onPage);
    // The JSON object of one listing page, whose `arrayKey` entries are
    // appended to `entries`.
    static QJsonObject readPage(const QByteArray &body, QLatin1StringView arrayKey, QList<QJsonObject> &entries);
    // The same, but nothing (and `entries` unchanged) when the body is no JSON
    // object or its `arrayKey` is there and no array.
    static std::optional<QJsonObject> listingPage(const QByteArray &body, QLatin1StringView arrayKey,
                                                  QList<QJsonObject> &entries);
    // False, after requestFailed reported an endless listing at `step`, when
    // the server hands out a page token or link it gave before in `seen`.
    bool pageIsNew(QSet<QString> &seen, const QString &next, SyncResult::Step step);

    using Answer = std::function<void(const ProviderHttp::Reply &reply)>;
    using Headers = QList<QPair<QByteArray, QByteArray>>;
    // One request of `verb` with the bearer token (and If-Match with
    // `etag`), JSON when `body` is not empty. `answer` gets the reply, after
    // one renewal and retry on a 401 when an access is set; never after this
    // client is gone.
    void send(const QByteArray &verb, const QString &url, const QByteArray &body, const QString &etag, Answer answer,
              const Headers &headers = {});

    QNetworkAccessManager *m_network;
    const SyncResult::Provider m_provider;

    // The answer to an insert or update of row `localId`, reported by signal.
    void onWriteReply(const ProviderHttp::Reply &answer, const QString &localId, SyncResult::Step step);

private:
    void sendOnce(const QByteArray &verb, const QString &url, const QByteArray &body, const QString &etag,
                  Answer answer, const Headers &headers, bool retried);

    const QLatin1StringView m_versionField;
    QString m_accessToken;
    QPointer<ProviderAccess> m_access;
};
