#include "microsoftsyncclient.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "microsoftauthservice.h"
#include "providerslog.h"
#include "recordnames.h"
#include "storetransaction.h"

using namespace Qt::StringLiterals;

namespace Microsoft {

// One calendar's run: its row, the token, and the rows still to push.
struct SyncClient::Run
{
    Calendar calendar;
    QString accessToken;
    int pulled = 0;
    bool reported = false;
    bool relisted = false; // a refused delta token costs one windowed listing, not a loop
    QList<Event> pending;
    std::optional<SyncResult> pushFailure;
};

SyncClient::SyncClient(AppState *appState, QNetworkAccessManager *network, TolmAccount::TokenStore *tokens,
                       const ProviderConfig &config, const QUrl &graphBase, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_network(network)
    , m_tokens(tokens)
    , m_config(config)
    , m_graphBase(graphBase)
{
}

// Runs still under way report nothing more: their handlers die with this
// object.
SyncClient::~SyncClient()
{
    qDeleteAll(m_runs);
}

void SyncClient::syncCalendar(const Calendar &calendar)
{
    auto *run = new Run;
    run->calendar = calendar;
    m_runs.insert(run);
    Q_EMIT calendarSyncStarted(calendar.id);
    if (!m_appState->accounts()->getById(calendar.account_id)) {
        finish(run, SyncResult::failure(SyncResult::Kind::AccountMissing));
        return;
    }
    const StoredTokens stored = AuthService::loadTokens(m_tokens, calendar.account_id);
    if (stored.refreshToken.isEmpty() && stored.accessToken.isEmpty()) {
        finish(run, SyncResult::failure(SyncResult::Kind::SignInNeeded));
        return;
    }
    const bool fresh = stored.expiresAt.isValid() && QDateTime::currentDateTimeUtc().secsTo(stored.expiresAt) >= 60
        && !stored.accessToken.isEmpty();
    if (fresh) {
        run->accessToken = stored.accessToken;
        runPull(run);
        return;
    }
    if (stored.refreshToken.isEmpty()) {
        finish(run, SyncResult::failure(SyncResult::Kind::SignInNeeded));
        return;
    }
    auto *auth = new AuthService(m_network, m_config, this);
    const QString accountId = calendar.account_id;
    connect(auth, &AuthService::refreshSucceeded, this,
            [this, auth, run, accountId, stored](const QString &access, const QDateTime &expiresAt,
                                                 const QString &rotated) {
        auth->deleteLater();
        StoredTokens tokens{access, rotated.isEmpty() ? stored.refreshToken : rotated, expiresAt};
        AuthService::saveTokens(m_tokens, accountId, tokens);
        run->accessToken = access;
        runPull(run);
    });
    connect(auth, &AuthService::refreshFailed, this, [this, auth, run](const SyncResult &result) {
        auth->deleteLater();
        finish(run, result);
    });
    auth->refresh(stored.refreshToken);
}

void SyncClient::runPull(Run *run)
{
    auto *client = new CalendarClient(m_network, m_graphBase, this);
    client->setAccessToken(run->accessToken);
    connect(client, &CalendarClient::eventsListed, this,
            [this, client, run](const QString &, const CalendarClient::EventListPage &page) {
        client->deleteLater();
        onListed(run, page);
    });
    connect(client, &CalendarClient::deltaTokenExpired, this, [this, client, run](const QString &) {
        client->deleteLater();
        // Only the cursor goes; the next listing is the windowed one.
        storeDeltaToken(run->calendar.id, QString());
        run->calendar.delta_sync_token.clear();
        if (run->relisted) {
            finish(run, SyncResult::failure(SyncResult::Kind::SyncTokenRefused, SyncResult::Step::EventListing));
            return;
        }
        run->relisted = true;
        runPull(run);
    });
    connect(client, &CalendarClient::requestFailed, this, [this, client, run](const SyncResult &result) {
        client->deleteLater();
        finish(run, result);
    });
    const QString token = run->calendar.delta_sync_token;
    QDateTime from;
    QDateTime to;
    if (token.isEmpty()) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        from = now.addMonths(-kWindowMonthsBack);
        to = now.addMonths(kWindowMonthsAhead);
    }
    client->requestEventsPage(run->calendar.url, token, from, to);
}

SyncClient::Applied SyncClient::applyItems(AppState *appState, const QString &calendarId,
                                           const QList<QJsonObject> &items)
{
    Applied applied;
    EventRepository *events = appState->events();
    StoreTransaction transaction(appState->database());
    for (const QJsonObject &item : items) {
        const QString providerId = item.value("id"_L1).toString();
        if (providerId.isEmpty())
            continue;
        const std::optional<Event> stored = events->getByUid(providerId, calendarId);
        if (item.contains("@removed"_L1)) {
            if (!stored)
                continue;
            if (events->hardDelete(stored->id))
                ++applied.tombstoned;
            else
                ++applied.failed;
            continue;
        }
        Event event = CalendarClient::eventFromJson(item, calendarId);
        bool ok = true;
        if (!stored) {
            ok = events->insert(event);
        } else if (stored->sync_status == SyncStatus::Pending) {
            // The local edit wins the next push; with the server's change key
            // that push is not refused as stale forever.
            std::optional<Event> full = events->getById(stored->id);
            if (full && full->etag != event.etag) {
                full->etag = event.etag;
                ok = events->update(*full);
            }
        } else {
            event.id = stored->id;
            ok = events->update(event);
        }
        if (ok)
            ++applied.upserted;
        else
            ++applied.failed;
    }
    if (transaction.isActive() && !transaction.keep())
        applied.failed = qMax(applied.failed, 1);
    events->scheduleChanged(calendarId);
    return applied;
}

void SyncClient::onListed(Run *run, const CalendarClient::EventListPage &page)
{
    const Applied applied = applyItems(m_appState, run->calendar.id, page.items);
    run->pulled = int(page.items.size());
    qCInfo(lcProviders) << "[Microsoft] sync" << run->calendar.id << "upserted" << applied.upserted << "tombstoned"
                        << applied.tombstoned << "failed" << applied.failed;
    if (applied.failed > 0) {
        SyncResult unsaved = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing);
        unsaved.limit = applied.failed;
        finish(run, unsaved);
        return;
    }
    if (!page.deltaToken.isEmpty())
        storeDeltaToken(run->calendar.id, page.deltaToken);
    runPush(run);
}

void SyncClient::storeDeltaToken(const QString &calendarId, const QString &token)
{
    std::optional<Calendar> current = m_appState->calendars()->getById(calendarId);
    if (!current)
        return;
    current->delta_sync_token = token;
    current->updated_at = QDateTime::currentDateTimeUtc();
    m_appState->calendars()->update(*current);
}

void SyncClient::runPush(Run *run)
{
    run->pending = m_appState->events()->getPending(run->calendar.id);
    pushNext(run);
}

void SyncClient::pushNext(Run *run)
{
    if (run->pending.isEmpty()) {
        finish(run, run->pushFailure);
        return;
    }
    const std::optional<Event> row = m_appState->events()->getById(run->pending.takeFirst().id);
    if (!row) {
        pushNext(run);
        return;
    }
    EventRepository *events = m_appState->events();
    if (row->deleted_at && row->provider_event_id.isEmpty()) {
        events->hardDelete(row->id);
        pushNext(run);
        return;
    }
    auto *client = new CalendarClient(m_network, m_graphBase, this);
    client->setAccessToken(run->accessToken);
    const Event pushed = *row;
    connect(client, &CalendarClient::eventWritten, this,
            [this, client, run, pushed](const QString &, const QString &providerId, const QString &changeKey) {
        client->deleteLater();
        std::optional<Event> now = m_appState->events()->getById(pushed.id);
        if (!now) {
            qCInfo(lcProviders) << "[Microsoft] push success but local row gone:" << pushed.id;
        } else {
            qCDebug(lcProviders) << "[Microsoft] pushed" << pushed.id << "→ providerEventId=" << providerId;
            // The Graph id names the row from now on, as for pulled rows.
            now->uid = providerId;
            now->provider_event_id = providerId;
            now->etag = changeKey;
            // An edit made while the request was out goes with the next push;
            // stored times are whole seconds, so the content decides as well.
            const bool unchanged = now->last_modified == pushed.last_modified && !now->deleted_at
                && CalendarClient::eventToJson(*now) == CalendarClient::eventToJson(pushed);
            now->sync_status = unchanged ? SyncStatus::Synced : SyncStatus::Pending;
            m_appState->events()->update(*now);
        }
        pushNext(run);
    });
    connect(client, &CalendarClient::eventDeleted, this, [this, client, run](const QString &localId) {
        client->deleteLater();
        qCDebug(lcProviders) << "[Microsoft] pushed delete" << localId;
        m_appState->events()->hardDelete(localId);
        pushNext(run);
    });
    connect(client, &CalendarClient::eventWriteFailed, this,
            [this, client, run, pushed](const QString &, const SyncResult &result) {
        client->deleteLater();
        qCInfo(lcProviders) << "[Microsoft] push failed for" << pushed.id << "status" << result.status;
        qCDebug(lcProviders) << "reason" << result.describe();
        if (result.status == 404 && !pushed.deleted_at) {
            if (std::optional<Event> now = m_appState->events()->getById(pushed.id)) {
                qCInfo(lcProviders) << "[Microsoft] cleared stale providerEventId on" << pushed.id
                                    << "for retry as insert";
                now->provider_event_id.clear();
                now->etag.clear();
                now->sync_status = SyncStatus::Pending;
                m_appState->events()->update(*now);
            }
        }
        run->pushFailure = result;
        pushNext(run);
    });
    if (pushed.deleted_at)
        client->deleteEvent(pushed.id, run->calendar.url, pushed.provider_event_id, pushed.etag);
    else if (pushed.provider_event_id.isEmpty())
        client->insertEvent(pushed.id, run->calendar.url, CalendarClient::eventToJson(pushed));
    else
        client->updateEvent(pushed.id, run->calendar.url, pushed.provider_event_id, CalendarClient::eventToJson(pushed),
                            pushed.etag);
}

void SyncClient::finish(Run *run, std::optional<SyncResult> failure)
{
    if (run->reported)
        return;
    run->reported = true;
    const QString calendarId = run->calendar.id;
    const int pulled = run->pulled;
    // `failure` is a copy: it may have been the run's own push failure, gone
    // with the run.
    m_runs.remove(run);
    delete run;
    if (!failure) {
        Q_EMIT calendarSyncCompleted(calendarId, pulled);
        return;
    }
    failure->provider = SyncResult::Provider::Microsoft;
    Q_EMIT calendarSyncFailed(calendarId, *failure);
}

} // namespace Microsoft
