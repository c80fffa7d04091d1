#include "googlesyncclient.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "googleauthservice.h"
#include "googleeventstore.h"
#include "providerslog.h"
#include "recordnames.h"

#include <QHash>
#include <QPointer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace Google {

// One calendar's run; it travels with the handlers.
struct SyncClient::Run
{
    Calendar calendar;
    QString accessToken;
    int pulled = 0;
    bool repulled = false; // a full listing after a refused sync token
    int unsaved = 0; // rows the pull could not store
    int outstanding = 0; // push requests not yet answered
    QHash<QString, Event> sent; // each pushed row as it was sent
    QPointer<CalendarClient> pushClient;
    bool reported = false;
};

SyncClient::SyncClient(AppState *appState, QNetworkAccessManager *network, const ProviderConfig &config,
                       TolmAccount::TokenStore *tokens, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_network(network)
    , m_config(config)
    , m_tokens(tokens)
{
}

void SyncClient::fail(const RunPtr &run, SyncResult result)
{
    if (run->reported)
        return;
    run->reported = true;
    result.provider = SyncResult::Provider::Google;
    Q_EMIT calendarSyncFailed(run->calendar.id, result);
}

void SyncClient::syncCalendar(const Calendar &calendar)
{
    auto run = std::make_shared<Run>();
    run->calendar = calendar;
    Q_EMIT calendarSyncStarted(calendar.id);

    if (!m_appState->accounts()->getById(calendar.account_id)) {
        fail(run, SyncResult::failure(SyncResult::Kind::AccountMissing));
        return;
    }
    const StoredTokens tokens = AuthService::loadTokens(m_tokens, calendar.account_id);
    if (tokens.refreshToken.isEmpty()) {
        fail(run, SyncResult::failure(SyncResult::Kind::SignInNeeded));
        return;
    }
    const QDateTime soon = QDateTime::currentDateTimeUtc().addSecs(60);
    if (tokens.expiresAt.isValid() && tokens.expiresAt >= soon) {
        run->accessToken = tokens.accessToken;
        runPull(run);
        return;
    }
    auto *auth = new AuthService(m_network, m_config, this);
    connect(auth, &AuthService::refreshSucceeded, this,
            [this, auth, run, tokens](const QString &access, const QDateTime &expiresAt, const QString &rotated) {
        auth->deleteLater();
        AuthService::saveTokens(m_tokens, run->calendar.account_id,
                                {access, rotated.isEmpty() ? tokens.refreshToken : rotated, expiresAt});
        run->accessToken = access;
        runPull(run);
    });
    connect(auth, &AuthService::refreshFailed, this, [this, auth, run](const SyncResult &result) {
        auth->deleteLater();
        fail(run, result);
    });
    auth->refresh(tokens.refreshToken);
}

CalendarClient *SyncClient::newCalendarClient(const RunPtr &run)
{
    auto *client = new CalendarClient(m_network, m_config.googleApiBase, this);
    client->setAccessToken(run->accessToken);
    return client;
}

void SyncClient::runPull(const RunPtr &run)
{
    CalendarClient *client = newCalendarClient(run);
    connect(client, &CalendarClient::requestFailed, this, [this, client, run](const SyncResult &result) {
        client->deleteLater();
        fail(run, result);
    });
    connect(client, &CalendarClient::syncTokenExpired, this, [this, client, run] {
        client->deleteLater();
        onSyncTokenExpired(run);
    });
    connect(client, &CalendarClient::eventsListed, this,
            [this, client, run](const QString &, const CalendarClient::EventListPage &page) {
        client->deleteLater();
        applyPulledEvents(run, page);
    });
    client->listEvents(run->calendar.url, run->calendar.sync_token, QDateTime(), QDateTime());
}

void SyncClient::onSyncTokenExpired(const RunPtr &run)
{
    // Only a stored token can expire; a full listing refused with 410 (or a
    // second refusal in one run) is a server fault, not a reason to loop.
    if (run->calendar.sync_token.isEmpty() || run->repulled) {
        SyncResult refused = SyncResult::failure(SyncResult::Kind::SyncTokenRefused, SyncResult::Step::EventListing);
        refused.status = 410;
        fail(run, refused);
        return;
    }
    run->repulled = true;
    run->calendar.sync_token.clear();
    run->calendar.delta_sync_token.clear();
    if (std::optional<Calendar> current = m_appState->calendars()->getById(run->calendar.id)) {
        current->sync_token.clear();
        current->delta_sync_token.clear();
        m_appState->calendars()->update(*current);
    }
    runPull(run);
}

// One pull being applied: the listed items, how far it got, what it counted.
struct SyncClient::Apply
{
    Apply(Database *database, const QString &calendarId)
        : store(database, calendarId)
    {
    }
    ~Apply()
    {
        // A client deleted halfway still ends the transaction it opened.
        if (began)
            store.finish();
    }

    GoogleEventStore store;
    QList<QJsonObject> items;
    QString nextSyncToken;
    qsizetype next = 0;
    bool began = false;
    int upserted = 0;
    int tombstoned = 0;
    int failed = 0;
    QList<QPair<QString, QString>> cancelledInstances; // series id, original start
};

void SyncClient::applyPulledEvents(const RunPtr &run, const CalendarClient::EventListPage &page)
{
    auto apply = std::make_shared<Apply>(m_appState->database(), run->calendar.id);
    apply->items = page.items;
    apply->nextSyncToken = page.nextSyncToken;
    apply->began = apply->store.begin();
    run->pulled = int(page.items.size());
    // Reading the last page took this turn already.
    QTimer::singleShot(0, this, [this, run, apply] { applySlice(run, apply); });
}

void SyncClient::applySlice(const RunPtr &run, const ApplyPtr &apply)
{
    EventRepository *events = m_appState->events();
    GoogleEventStore &store = apply->store;
    // The run's own writes are no local change: one notification at the end.
    const bool wasBlocked = events->blockSignals(true);
    const qsizetype end = std::min(apply->items.size(), apply->next + kApplySlice);
    for (; apply->next < end; ++apply->next) {
        const QJsonObject &item = apply->items.at(apply->next);
        const QString providerId = item.value("id"_L1).toString();
        if (providerId.isEmpty())
            continue;
        const QString localId = store.rowFor(providerId);
        if (item.value("status"_L1).toString() == EventStatus::Cancelled) {
            const QString series = item.value("recurringEventId"_L1).toString();
            const QString startKey = CalendarClient::originalStartKey(item);
            if (!series.isEmpty() && !startKey.isEmpty())
                apply->cancelledInstances.append({series, startKey});
            if (!localId.isEmpty()) {
                events->hardDelete(localId);
                ++apply->tombstoned;
            }
            continue;
        }
        Event mapped = CalendarClient::eventFromJson(item, run->calendar.id);
        const std::optional<Event> local = localId.isEmpty() ? std::nullopt : events->getById(localId);
        if (!local) {
            events->insert(mapped) ? ++apply->upserted : ++apply->failed;
            continue;
        }
        if (local->etag == mapped.etag && !mapped.etag.isEmpty())
            continue; // our own write coming back
        if (local->sync_status == SyncStatus::Pending) {
            // The local change wins for now, but against the server's
            // current version: else its push fails with 412 forever.
            store.takeEtag(localId, mapped.etag);
            continue;
        }
        mapped.id = localId;
        mapped.created = local->created;
        if (mapped.exception_dates.isEmpty())
            mapped.exception_dates = local->exception_dates;
        events->update(mapped) ? ++apply->upserted : ++apply->failed;
    }
    events->blockSignals(wasBlocked);
    if (apply->next < apply->items.size()) {
        QTimer::singleShot(0, this, [this, run, apply] { applySlice(run, apply); });
        return;
    }
    finishApply(run, apply);
}

void SyncClient::finishApply(const RunPtr &run, const ApplyPtr &apply)
{
    EventRepository *events = m_appState->events();
    // After every item: the series row may have come later in the listing.
    for (const auto &[series, startKey] : std::as_const(apply->cancelledInstances)) {
        if (apply->store.addException(series, startKey))
            ++apply->tombstoned;
    }
    apply->cancelledInstances.clear();
    if (apply->began) {
        apply->began = false;
        apply->store.finish();
        // Committing thousands of rows takes a while: the rest comes next turn.
        QTimer::singleShot(0, this, [this, run, apply] { finishApply(run, apply); });
        return;
    }
    if (apply->upserted + apply->tombstoned > 0)
        events->scheduleChanged(run->calendar.id);
    if (apply->failed == 0 && !apply->nextSyncToken.isEmpty())
        storeSyncToken(run, apply->nextSyncToken);
    qCInfo(lcProviders) << "[Google] sync" << run->calendar.id << "upserted" << apply->upserted << "tombstoned"
                        << apply->tombstoned << "failed" << apply->failed;
    run->unsaved = apply->failed;
    runPush(run);
}

void SyncClient::storeSyncToken(const RunPtr &run, const QString &token)
{
    // Read again: the user may have renamed or recoloured the calendar
    // while the listing ran, and that must survive.
    std::optional<Calendar> current = m_appState->calendars()->getById(run->calendar.id);
    if (!current)
        return;
    current->sync_token = token;
    current->updated_at = QDateTime::currentDateTimeUtc();
    m_appState->calendars()->update(*current);
    run->calendar.sync_token = token;
}

void SyncClient::runPush(const RunPtr &run)
{
    EventRepository *events = m_appState->events();
    const QList<Event> pending = events->getPending(run->calendar.id);
    if (pending.isEmpty()) {
        run->outstanding = 1;
        finishOne(run);
        return;
    }
    CalendarClient *client = newCalendarClient(run);
    run->pushClient = client;
    run->outstanding = int(pending.size());
    connect(client, &CalendarClient::eventWritten, this,
            [this, run](const QString &id, const QString &providerId, const QString &etag) {
        onEventWritten(run, id, providerId, etag);
    });
    connect(client, &CalendarClient::eventDeleted, this, [this, run](const QString &id) { onEventDeleted(run, id); });
    connect(client, &CalendarClient::eventWriteFailed, this,
            [this, run](const QString &id, const SyncResult &result) { onEventWriteFailed(run, id, result); });
    const QString calendarUrl = run->calendar.url;
    for (const Event &row : pending) {
        // With children: the snapshot must compare equal to a later read.
        const std::optional<Event> full = events->getById(row.id);
        if (!full) {
            finishOne(run);
            continue;
        }
        run->sent.insert(row.id, *full);
        if (full->deleted_at && full->provider_event_id.isEmpty()) {
            events->hardDelete(full->id); // the server never had it
            finishOne(run);
        } else if (full->deleted_at) {
            client->deleteEvent(full->id, calendarUrl, full->provider_event_id, full->etag);
        } else if (full->provider_event_id.isEmpty()) {
            client->insertEvent(full->id, calendarUrl, CalendarClient::eventToJson(*full));
        } else {
            client->updateEvent(full->id, calendarUrl, full->provider_event_id, CalendarClient::eventToJson(*full),
                                full->etag);
        }
    }
}

void SyncClient::onEventWritten(const RunPtr &run, const QString &localId, const QString &providerEventId,
                                const QString &etag)
{
    EventRepository *events = m_appState->events();
    GoogleEventStore store(m_appState->database(), run->calendar.id);
    std::optional<Event> current = events->getById(localId);
    if (!current) {
        qCWarning(lcProviders) << "[Google] push success but local row gone:" << localId;
    } else if (*current != run->sent.value(localId)) {
        // Edited or deleted while the request was under way: that change
        // still has to go out, against the version just written.
        store.takeServerIdentity(localId, providerEventId, etag);
    } else {
        current->provider_event_id = providerEventId;
        current->etag = etag;
        current->sync_status = SyncStatus::Synced;
        const bool wasBlocked = events->blockSignals(true);
        events->update(*current);
        events->blockSignals(wasBlocked);
        qCInfo(lcProviders) << "[Google] pushed" << localId
                            << "→ providerEventId=" << providerEventId.left(16) + u"..."_s;
    }
    finishOne(run);
}

void SyncClient::onEventDeleted(const RunPtr &run, const QString &localId)
{
    EventRepository *events = m_appState->events();
    const std::optional<Event> current = events->getById(localId);
    if (current && !current->deleted_at) {
        // Restored while the delete was under way: the server copy is gone,
        // so the row goes out again as a new event.
        GoogleEventStore(m_appState->database(), run->calendar.id).forgetServerIdentity(localId);
    } else if (current) {
        events->hardDelete(localId);
        qCInfo(lcProviders) << "[Google] pushed delete" << localId;
    }
    finishOne(run);
}

void SyncClient::onEventWriteFailed(const RunPtr &run, const QString &localId, const SyncResult &result)
{
    qCWarning(lcProviders) << "[Google] push failed for" << localId << "status" << result.status;
    qCDebug(lcProviders) << "reason" << result.describe();
    if (result.status == 404) {
        const std::optional<Event> current = m_appState->events()->getById(localId);
        if (current && !current->provider_event_id.isEmpty()) {
            GoogleEventStore(m_appState->database(), run->calendar.id).forgetServerIdentity(localId);
            qCInfo(lcProviders) << "[Google] cleared stale providerEventId on" << localId << "for retry as insert";
        }
    }
    finishOne(run);
}

void SyncClient::finishOne(const RunPtr &run)
{
    if (--run->outstanding > 0)
        return;
    if (run->pushClient)
        run->pushClient->deleteLater();
    // One report per run: rows the pull could not store fail the calendar
    // even though the push went out.
    if (run->unsaved > 0) {
        SyncResult unsaved = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing);
        unsaved.limit = run->unsaved;
        fail(run, unsaved);
        return;
    }
    if (run->reported)
        return;
    run->reported = true;
    Q_EMIT calendarSyncCompleted(run->calendar.id, run->pulled);
}

} // namespace Google
