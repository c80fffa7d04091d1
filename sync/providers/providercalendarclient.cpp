#include "providercalendarclient.h"

#include "provideraccess.h"
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
    return ProviderHttp::bearerRequest(url, m_accessToken, json, entityTag(etag));
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
    send("GET", url, {}, {}, [this, step, onPage = std::move(onPage)](const Reply &answer) {
        if (!answer.ok()) {
            Q_EMIT requestFailed(answer.failure(m_provider, step));
            return;
        }
        const std::optional<QJsonObject> page = ProviderHttp::jsonObject(answer.body);
        if (!page) {
            Q_EMIT requestFailed(answer.failure(m_provider, step).withKind(SyncResult::Kind::Unreadable));
            return;
        }
        onPage(*page);
    });
}

void ProviderCalendarClient::send(const QByteArray &verb, const QString &url, const QByteArray &body,
                                  const QString &etag, Answer answer, const Headers &headers)
{
    sendOnce(verb, url, body, etag, std::move(answer), headers, false);
}

void ProviderCalendarClient::sendOnce(const QByteArray &verb, const QString &url, const QByteArray &body,
                                      const QString &etag, Answer answer, const Headers &headers, bool retried)
{
    QNetworkRequest req = request(url, !body.isEmpty(), etag);
    for (const auto &[name, value] : headers)
        req.setRawHeader(name, value);
    const QString token = m_accessToken;
    QNetworkReply *reply = body.isEmpty() && verb != "POST" && verb != "PATCH"
        ? m_network->sendCustomRequest(req, verb)
        : m_network->sendCustomRequest(req, verb, body);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, verb, url, body, etag, answer = std::move(answer), headers, retried, token] {
        Reply taken = take(reply);
        if (taken.status != 401 || retried || !m_access) {
            answer(taken);
            return;
        }
        // A token the server no longer takes, whatever its stored expiry.
        m_access->renew(
            token, this,
            [this, verb, url, body, etag, answer, headers](const QString &renewed) {
            m_accessToken = renewed;
            sendOnce(verb, url, body, etag, answer, headers, true);
            },
            [answer, taken](const SyncResult &) { answer(taken); });
    });
}

bool ProviderCalendarClient::pageIsNew(QSet<QString> &seen, const QString &next, Step step)
{
    if (!seen.contains(next)) {
        seen.insert(next);
        return true;
    }
    SyncResult endless = failure(SyncResult::Kind::EndlessListing, step);
    endless.limit = seen.size() + 1; // the pages read: the first came without a link
    Q_EMIT requestFailed(endless);
    return false;
}

std::optional<QJsonObject> ProviderCalendarClient::listingPage(const QByteArray &body, QLatin1StringView arrayKey,
                                                               QList<QJsonObject> &entries)
{
    const std::optional<QJsonObject> page = ProviderHttp::jsonObject(body);
    if (!page)
        return std::nullopt;
    const QJsonValue value = page->value(arrayKey);
    if (!value.isUndefined() && !value.isArray())
        return std::nullopt;
    const QJsonArray array = value.toArray();
    entries.reserve(entries.size() + array.size());
    for (const QJsonValue &entry : array)
        entries.append(entry.toObject());
    return page;
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
    send("POST", eventsUrl(calendarId), QJsonDocument(event).toJson(QJsonDocument::Compact), {},
         [this, localId](const Reply &answer) { onWriteReply(answer, localId, Step::EventInsert); });
}

void ProviderCalendarClient::updateEvent(const QString &localId, const QString &calendarId,
                                         const QString &providerEventId, const QJsonObject &event, const QString &etag)
{
    if (!hasAccessToken()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventUpdate));
        return;
    }
    send("PATCH", eventsUrl(calendarId, providerEventId), QJsonDocument(event).toJson(QJsonDocument::Compact), etag,
         [this, localId](const Reply &answer) { onWriteReply(answer, localId, Step::EventUpdate); });
}

void ProviderCalendarClient::onWriteReply(const Reply &answer, const QString &localId, Step step)
{
    if (!answer.ok()) {
        Q_EMIT eventWriteFailed(localId, answer.failure(m_provider, step));
        return;
    }
    // No synced row without a server id: the next pull would list it again
    // as a second copy.
    const std::optional<QJsonObject> written = ProviderHttp::jsonObject(answer.body);
    const QString id = written ? written->value("id"_L1).toString() : QString();
    if (id.isEmpty()) {
        Q_EMIT eventWriteFailed(localId, answer.failure(m_provider, step).withKind(SyncResult::Kind::Unreadable));
        return;
    }
    Q_EMIT eventResource(localId, *written);
    Q_EMIT eventWritten(localId, id, written->value(m_versionField).toString());
}

void ProviderCalendarClient::deleteEvent(const QString &localId, const QString &calendarId,
                                         const QString &providerEventId, const QString &etag)
{
    if (!hasAccessToken()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventDelete));
        return;
    }
    send("DELETE", eventsUrl(calendarId, providerEventId), {}, etag, [this, localId](const Reply &answer) {
        if (answer.deleted()) {
            Q_EMIT eventDeleted(localId);
            return;
        }
        Q_EMIT eventWriteFailed(localId, answer.failure(m_provider, Step::EventDelete));
    });
}
