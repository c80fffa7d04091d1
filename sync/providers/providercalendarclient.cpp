#include "providercalendarclient.h"

#include "providerhttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

using namespace Qt::StringLiterals;

using ProviderHttp::Reply;
using ProviderHttp::take;
using Step = SyncResult::Step;

ProviderCalendarClient::ProviderCalendarClient(QNetworkAccessManager *network, SyncResult::Provider provider,
                                               QLatin1StringView versionField, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_provider(provider)
    , m_versionField(versionField)
{
}

QNetworkRequest ProviderCalendarClient::request(const QString &url, bool json, const QString &etag) const
{
    return ProviderHttp::bearerRequest(url, m_accessToken, json, etag);
}

SyncResult ProviderCalendarClient::failure(SyncResult::Kind kind, Step step) const
{
    return SyncResult::ofProvider(m_provider, kind, step);
}

bool ProviderCalendarClient::signedIn(Step step)
{
    if (hasAccessToken())
        return true;
    Q_EMIT requestFailed(failure(SyncResult::Kind::SignInNeeded, step));
    return false;
}

QString ProviderCalendarClient::itemUrl(const QString &collection, const QString &id)
{
    return id.isEmpty() ? collection : collection + u'/' + ProviderHttp::pathSegment(id);
}

void ProviderCalendarClient::getPage(const QString &url, Step step, std::function<void(const QJsonObject &page)> onPage)
{
    QNetworkReply *reply = m_network->get(request(url, false));
    connect(reply, &QNetworkReply::finished, this, [this, reply, step, onPage = std::move(onPage)] {
        const Reply answer = take(reply);
        if (!answer.ok()) {
            Q_EMIT requestFailed(answer.failure(m_provider, step));
            return;
        }
        onPage(QJsonDocument::fromJson(answer.body).object());
    });
}

QJsonObject ProviderCalendarClient::readPage(const QByteArray &body, QLatin1StringView arrayKey,
                                             QList<QJsonObject> &entries)
{
    const QJsonObject page = QJsonDocument::fromJson(body).object();
    const QJsonArray array = page.value(arrayKey).toArray();
    entries.reserve(entries.size() + array.size());
    for (const QJsonValue &entry : array)
        entries.append(entry.toObject());
    return page;
}

void ProviderCalendarClient::insertEvent(const QString &localId, const QString &calendarId, const QJsonObject &event)
{
    if (!hasAccessToken()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventInsert));
        return;
    }
    QNetworkReply *reply = m_network->post(request(eventsUrl(calendarId), true),
                                           QJsonDocument(event).toJson(QJsonDocument::Compact));
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, localId] { onWriteReply(reply, localId, Step::EventInsert); });
}

void ProviderCalendarClient::updateEvent(const QString &localId, const QString &calendarId,
                                         const QString &providerEventId, const QJsonObject &event, const QString &etag)
{
    if (!hasAccessToken()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventUpdate));
        return;
    }
    QNetworkReply *reply = m_network->sendCustomRequest(request(eventsUrl(calendarId, providerEventId), true, etag),
                                                        QByteArrayLiteral("PATCH"),
                                                        QJsonDocument(event).toJson(QJsonDocument::Compact));
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, localId] { onWriteReply(reply, localId, Step::EventUpdate); });
}

void ProviderCalendarClient::onWriteReply(QNetworkReply *reply, const QString &localId, Step step)
{
    const Reply answer = take(reply);
    if (!answer.ok()) {
        Q_EMIT eventWriteFailed(localId, answer.failure(m_provider, step));
        return;
    }
    const QJsonObject written = QJsonDocument::fromJson(answer.body).object();
    Q_EMIT eventWritten(localId, written.value("id"_L1).toString(), written.value(m_versionField).toString());
}

void ProviderCalendarClient::deleteEvent(const QString &localId, const QString &calendarId,
                                         const QString &providerEventId, const QString &etag)
{
    if (!hasAccessToken()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventDelete));
        return;
    }
    QNetworkReply *reply = m_network->deleteResource(request(eventsUrl(calendarId, providerEventId), false, etag));
    connect(reply, &QNetworkReply::finished, this, [this, reply, localId] {
        const Reply answer = take(reply);
        if (answer.deleted()) {
            Q_EMIT eventDeleted(localId);
            return;
        }
        Q_EMIT eventWriteFailed(localId, answer.failure(m_provider, Step::EventDelete));
    });
}
