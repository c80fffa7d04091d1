#pragma once

#include "syncresult.h"

#include <QJsonObject>
#include <QLatin1StringView>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

// What the calendar REST clients share: the bearer token, the requests that
// carry it, and the insert, update and delete of one event with the signals
// that report them. A provider names its events collection and the field in
// which a written event comes back with its new version.
class ProviderCalendarClient : public QObject
{
    Q_OBJECT
public:
    void setAccessToken(const QString &token) { m_accessToken = token; }

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
    void eventWritten(const QString &localId, const QString &providerEventId, const QString &etag);
    void eventDeleted(const QString &localId);
    void eventWriteFailed(const QString &localId, const SyncResult &result);

protected:
    ProviderCalendarClient(QNetworkAccessManager *network, SyncResult::Provider provider,
                           QLatin1StringView versionField, QObject *parent);

    QNetworkRequest request(const QString &url, bool json, const QString &etag = QString()) const;
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

    QNetworkAccessManager *m_network;
    const SyncResult::Provider m_provider;

private:
    void onWriteReply(QNetworkReply *reply, const QString &localId, SyncResult::Step step);

    const QLatin1StringView m_versionField;
    QString m_accessToken;
};
