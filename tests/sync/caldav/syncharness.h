#pragma once

// What the sync tests share: a store behind a real AppState, one CalDAV
// calendar row pointing at a collection, a sync run awaited to its end, the
// independent peer client, and a plain GET to see what the server holds.

#include "accountrepository.h"
#include "appstate.h"
#include "appstatefixture.h"
#include "caldavsyncclient.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "syncrunreport.h"
#include "taskrepository.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QUuid>

struct SyncOutcome : RunOutcome
{
    int untrusted = 0;
    QString untrustedSha256;
};

// A "caldav" account and one syncing calendar at `collection`.
inline Calendar addCalDavCalendar(AppState *state, const QUrl &collection, const QString &user,
                                  const QString &components = QStringLiteral("[\"VEVENT\",\"VTODO\"]"))
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    Account account;
    account.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    account.name = QStringLiteral("Server");
    account.type = QStringLiteral("caldav");
    account.server_url = collection.toString();
    account.username = user;
    account.created_at = now;
    account.updated_at = now;
    if (!state->accounts()->insert(account))
        qFatal("account not stored");
    Calendar calendar;
    calendar.url = collection.toString();
    calendar.name = collection.path();
    calendar.supported_components = components;
    return AppStateFixture::addSyncingCalendar(state, account.id, calendar);
}

// One run of the calendar as it is stored now, awaited to its end.
inline SyncOutcome syncOnce(AppState *state, const QString &calendarId, const QString &user, const QString &password,
                            const QString &pin = {})
{
    SyncOutcome outcome;
    const std::optional<Calendar> calendar = state->calendars()->getById(calendarId);
    if (!calendar)
        qFatal("no such calendar");
    CalDavSyncClient client(state);
    const SyncRunReport::Spies spies(&client);
    QSignalSpy untrusted(&client, &CalDavSyncClient::untrustedCertEncountered);
    client.syncCalendar(*calendar, user, password, pin);
    if (!spies.read(QStringLiteral("the run did not end"), outcome))
        return outcome;
    outcome.untrusted = untrusted.size();
    if (!untrusted.isEmpty())
        outcome.untrustedSha256 = untrusted.first().at(1).value<UntrustedCertInfo>().sha256;
    return outcome;
}

// Debian's python3-caldav on the same collection; one result per operation.
// `script` names the peer in the test data's "sync" folder.
inline QJsonArray runPeer(const QUrl &collection, const QString &user, const QString &password, const QJsonArray &ops,
                          const QString &script = QStringLiteral("caldavpeer.py"))
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(CALENDAR_TEST_DATA_DIR "/sync/") + script});
    const QJsonObject request{{QStringLiteral("url"), collection.toString()},
                              {QStringLiteral("user"), user},
                              {QStringLiteral("password"), password},
                              {QStringLiteral("ops"), ops}};
    python.write(QJsonDocument(request).toJson(QJsonDocument::Compact));
    python.closeWriteChannel();
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        // The test's comparisons fail on the empty answer.
        qWarning("peer client failed: %s", python.readAllStandardError().constData());
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).array();
}

inline QJsonObject peerOp(const QString &op, const QJsonObject &args = {})
{
    QJsonObject object = args;
    object.insert(QStringLiteral("op"), op);
    return object;
}

// A plain GET, as any other client reads a resource.
inline QPair<int, QByteArray> httpGet(const QUrl &url, const QString &user, const QString &password)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    if (!user.isEmpty())
        request.setRawHeader("Authorization", "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64());
    QNetworkReply *reply = manager.get(request);
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
        qFatal("GET did not finish");
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->readAll();
    delete reply;
    return {status, body};
}

inline QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// A new event made here, waiting to be pushed.
inline Event insertNewEvent(AppState *state, const QString &calendarId, const QString &uid, const QString &title,
                            const QDateTime &start, const QDateTime &end)
{
    Event event;
    event.id = newId();
    event.uid = uid;
    event.calendar_id = calendarId;
    event.title = title;
    event.start_time = start;
    event.end_time = end;
    event.created = event.last_modified = QDateTime::currentDateTimeUtc();
    event.sync_status = QStringLiteral("pending");
    event.raw_icalendar = ICalendar::serializeNewEvent(event);
    if (!state->events()->insert(event))
        qFatal("event not stored");
    return event;
}
