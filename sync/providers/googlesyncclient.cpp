#include "googlesyncclient.h"

#include "exceptionkey.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "googleauthservice.h"
#include "googleeventstore.h"
#include "googlepageapply.h"
#include "provideraccess.h"
#include "providerapplyjob.h"
#include "providerevents.h"
#include "providerproblems.h"
#include "providerrows.h"
#include "providerslog.h"
#include "recordnames.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace Google {

namespace {

ProviderRows rowsOf(AppState *appState, const QString &calendarId)
{
    return PageApply::rowsOf(ProviderStore::of(appState), calendarId);
}

QByteArray compact(const QJsonObject &body)
{
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

// The id a new event asks Google for (base32hex: a-v and 0-9): the local id
// without its dashes. An insert whose answer is lost then still names the
// event the server made, and is not made twice.
QString clientEventId(const Event &row)
{
    QString id = row.id.toLower();
    id.remove(u'-');
    for (const QChar c : std::as_const(id)) {
        if (!(c.isDigit() || (c >= u'a' && c <= u'v')))
            return QString();
    }
    return id.size() >= 5 ? id : QString();
}

} // namespace

// One calendar's run; it travels with the handlers.
struct SyncClient::Run
{
    Calendar calendar;
    QString accessToken;
    int pulled = 0;
    bool repulled = false; // a full listing after a refused sync token
    int unsaved = 0; // rows the pull could not store
    std::optional<StoreFailure::Kind> rowRefused; // the calendar's row, with its sync token
    int left = 0; // rows the push left pending this time, for now
    std::optional<SyncResult> pushFailure; // the first failure that ends the run
    QList<Event> pending; // still to push, in order
    Event sending; // the row under way, as it was sent
    QByteArray sentBody;
    QJsonObject written; // the server's answer to the last write
    QStringList cancelling; // occurrences of the series under way still to cancel
    std::function<void()> afterCancelling; // then the series' own update
    QPointer<CalendarClient> pushClient;
    std::unique_ptr<ProviderProblems> problems;
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
    if (run->pushClient)
        run->pushClient->deleteLater();
    result.provider = SyncResult::Provider::Google;
    Q_EMIT calendarSyncFailed(run->calendar.id, result);
}

ProviderAccess *SyncClient::accessFor(const QString &accountId)
{
    return ProviderAccess::ofAccount(
        m_access, accountId, m_tokens, AuthService::tokenKey(accountId),
        [network = m_network, config = m_config] { return new AuthService(network, config); }, this);
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
    if (AuthService::loadTokens(m_tokens, calendar.account_id).refreshToken.isEmpty()) {
        fail(run, SyncResult::failure(SyncResult::Kind::SignInNeeded));
        return;
    }
    accessFor(calendar.account_id)
        ->token(
            this,
            [this, run](const QString &access) {
        run->accessToken = access;
        runPull(run);
            },
            [this, run](const SyncResult &result) { fail(run, result); });
}

CalendarClient *SyncClient::newCalendarClient(const RunPtr &run)
{
    auto *client = new CalendarClient(m_network, m_config.googleApiBase, this);
    client->setAccessToken(run->accessToken);
    client->setAccess(accessFor(run->calendar.account_id));
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

void SyncClient::applyPulledEvents(const RunPtr &run, const CalendarClient::EventListPage &page)
{
    run->pulled = int(page.items.size());
    run->problems = std::make_unique<ProviderProblems>(m_appState, run->calendar.id);
    PageApply::Listing listing{run->calendar.id, page.items, run->calendar.sync_token.isEmpty()};
    // Written on a thread of its own: a first pull of thousands of events
    // must not hold the window. Destroyed with this client, it rolls back.
    ProviderApplyJob::startFor(
        this, m_appState, ProviderApplyJob::Access::Write,
        [listing = std::move(listing)](const ProviderStore &store, ProviderApplyJob::Outcome &outcome,
                                       const std::atomic<bool> &cancelled) {
        PageApply::run(listing, store, outcome, cancelled);
        },
        [this, run, nextSyncToken = page.nextSyncToken](const ProviderApplyJob::Outcome &outcome) {
        finishApply(run, outcome, nextSyncToken);
    });
}

void SyncClient::finishApply(const RunPtr &run, const ProviderApplyJob::Outcome &outcome, const QString &nextSyncToken)
{
    if (outcome.upserted + outcome.tombstoned > 0)
        m_appState->events()->scheduleChanged(run->calendar.id);
    // Only once the rows are stored: a token saved before would skip them.
    if (outcome.failed == 0 && !nextSyncToken.isEmpty())
        storeSyncToken(run, nextSyncToken);
    qCInfo(lcProviders) << "[Google] sync" << run->calendar.id << "upserted" << outcome.upserted << "tombstoned"
                        << outcome.tombstoned << "failed" << outcome.failed;
    run->unsaved = outcome.failed;
    runPush(run);
}

void SyncClient::storeSyncToken(const RunPtr &run, const QString &token)
{
    // Read again: the user may have renamed or recoloured the calendar
    // while the listing ran, and that must survive.
    std::optional<Calendar> current = m_appState->calendars()->getById(run->calendar.id);
    if (!current)
        return;
    run->calendar.sync_token = token;
    // The same token again (nothing changed since) is not written again.
    if (current->sync_token == token)
        return;
    current->sync_token = token;
    current->updated_at = QDateTime::currentDateTimeUtc();
    StoreFailure::clear();
    if (!m_appState->calendars()->update(*current))
        run->rowRefused = StoreFailure::last();
}

void SyncClient::runPush(const RunPtr &run)
{
    QList<Event> pending = m_appState->events()->getPending(run->calendar.id);
    // A series goes before its occurrences: they are written to its instances.
    std::stable_partition(pending.begin(), pending.end(), [](const Event &row) { return !row.isOverride(); });
    run->pending = pending;
    CalendarClient *client = newCalendarClient(run);
    run->pushClient = client;
    connect(client, &CalendarClient::eventResource, this,
            [run](const QString &, const QJsonObject &resource) { run->written = resource; });
    connect(client, &CalendarClient::eventWritten, this,
            [this, run](const QString &id, const QString &providerId, const QString &etag) {
        onEventWritten(run, id, providerId, etag);
    });
    connect(client, &CalendarClient::eventDeleted, this, [this, run](const QString &id) { onEventDeleted(run, id); });
    connect(client, &CalendarClient::eventWriteFailed, this,
            [this, run](const QString &id, const SyncResult &result) { onEventWriteFailed(run, id, result); });
    pushNext(run);
}

void SyncClient::pushNext(const RunPtr &run)
{
    while (!run->pending.isEmpty() && !run->reported) {
        // With children: the snapshot must compare equal to a later read.
        const std::optional<Event> full = m_appState->events()->getById(run->pending.takeFirst().id);
        if (!full || full->sync_status != SyncStatus::Pending)
            continue;
        if (full->deleted_at && full->provider_event_id.isEmpty()) {
            m_appState->events()->hardDelete(full->id); // the server never had it
            run->problems->accepted(full->id);
            continue;
        }
        pushRow(run, *full);
        return;
    }
    finishPush(run);
}

void SyncClient::pushRow(const RunPtr &run, const Event &row)
{
    const QString calendarUrl = run->calendar.url;
    run->sending = row;
    run->written = QJsonObject();
    run->cancelling.clear();
    run->afterCancelling = {};
    CalendarClient *client = run->pushClient;
    if (row.deleted_at) {
        // Against the server's version the pull saw last, if newer: the deletion stands.
        client->deleteEvent(row.id, calendarUrl, row.provider_event_id,
                            rowsOf(m_appState, run->calendar.id).update(row).etag);
        return;
    }
    // A rule Google cannot hold is not replaced by another one: the row waits.
    const QString ruleProblem = ProviderEvents::ruleProblem(row.recurrence_rule);
    QJsonObject body = CalendarClient::eventToJson(row);
    QString etag = row.etag;
    if (!ruleProblem.isEmpty()) {
        run->problems->refuse(row.id, compact(body), ruleProblem);
        QTimer::singleShot(0, this, [this, run] { pushNext(run); });
        return;
    }
    std::optional<Event> series;
    if (row.provider_event_id.isEmpty() && row.isOverride()) {
        series = m_appState->events()->getByUidAndRecurrenceId(row.master_event_uid, run->calendar.id, QString());
        if (!series || series->provider_event_id.isEmpty()) {
            // Its series is not on the server yet: the next run writes it.
            ++run->left;
            QTimer::singleShot(0, this, [this, run] { pushNext(run); });
            return;
        }
        body.remove("recurrence"_L1);
    } else if (!row.provider_event_id.isEmpty()) {
        const ProviderRows::Update update = rowsOf(m_appState, run->calendar.id).update(row);
        body = update.body;
        // Reminders cleared here: a null would give the event the calendar's
        // default reminders, so the empty list is said outright.
        if (body.value("reminders"_L1).isNull())
            body.insert("reminders"_L1, QJsonObject{{"useDefault"_L1, false}, {"overrides"_L1, QJsonArray()}});
        etag = update.etag;
        // Keys stored in another form (by an earlier version, or floating)
        // name the instance Google knows by its date or instant.
        for (const QString &key : update.cancelled)
            run->cancelling.append(ExceptionKey::normalized(row, key));
    }
    run->sentBody = compact(body);
    if (run->problems->wasRefused(row.id, run->sentBody)) {
        QTimer::singleShot(0, this, [this, run] { pushNext(run); });
        return;
    }
    if (!run->cancelling.isEmpty()) {
        // Each occurrence excluded here is that instance cancelled there; the
        // series' own changes follow.
        run->afterCancelling = [this, run, body, etag] {
            const Event &series = run->sending;
            if (body.isEmpty())
                onEventWritten(run, series.id, series.provider_event_id, etag);
            else
                run->pushClient->updateEvent(series.id, run->calendar.url, series.provider_event_id, body, etag);
        };
        client->writeInstance(row.id, calendarUrl, row.provider_event_id, run->cancelling.takeFirst(), std::nullopt);
    } else if (series) {
        client->writeInstance(row.id, calendarUrl, series->provider_event_id,
                              ExceptionKey::normalized(*series, row.recurrence_id), body);
    } else if (row.provider_event_id.isEmpty()) {
        if (const QString id = clientEventId(row); !id.isEmpty())
            body.insert("id"_L1, id);
        client->insertEvent(row.id, calendarUrl, body);
    } else if (body.isEmpty()) {
        // Nothing the server does not have already: no request.
        onEventWritten(run, row.id, row.provider_event_id, etag);
    } else {
        client->updateEvent(row.id, calendarUrl, row.provider_event_id, body, etag);
    }
}

void SyncClient::onEventWritten(const RunPtr &run, const QString &localId, const QString &providerEventId,
                                const QString &etag)
{
    EventRepository *events = m_appState->events();
    GoogleEventStore store(m_appState->database(), run->calendar.id);
    if (!run->written.isEmpty())
        rowsOf(m_appState, run->calendar.id).written(providerEventId, run->written);
    run->problems->accepted(localId);
    std::optional<Event> current = events->getById(localId);
    bool kept = true;
    StoreFailure::clear();
    if (!current) {
        qCWarning(lcProviders) << "[Google] push success but local row gone:" << localId;
    } else if (*current != run->sending) {
        // Edited or deleted while the request was under way: that change
        // still has to go out, against the version just written.
        kept = store.takeServerIdentity(localId, providerEventId, etag);
    } else {
        current->provider_event_id = providerEventId;
        current->etag = etag;
        current->sync_status = SyncStatus::Synced;
        const bool wasBlocked = events->blockSignals(true);
        kept = events->update(*current);
        events->blockSignals(wasBlocked);
        qCInfo(lcProviders) << "[Google] pushed" << localId
                            << "→ providerEventId=" << providerEventId.left(16) + u"..."_s;
    }
    if (!kept)
        storeRefused(run);
    QTimer::singleShot(0, this, [this, run] { pushNext(run); });
}

void SyncClient::storeRefused(const RunPtr &run)
{
    // The server took the write and the store would not record it: the row
    // stays pending, and the run must not pass for one that synced it.
    if (!run->pushFailure) {
        SyncResult refused = SyncResult::failure(SyncResult::Kind::LocalStore);
        refused.storeFailure = StoreFailure::last();
        run->pushFailure = refused;
    }
    run->pending.clear();
}

bool SyncClient::cancelNext(const RunPtr &run)
{
    if (!run->afterCancelling)
        return false;
    if (run->cancelling.isEmpty()) {
        std::exchange(run->afterCancelling, {})();
        return true;
    }
    run->pushClient->writeInstance(run->sending.id, run->calendar.url, run->sending.provider_event_id,
                                   run->cancelling.takeFirst(), std::nullopt);
    return true;
}

void SyncClient::onEventDeleted(const RunPtr &run, const QString &localId)
{
    if (cancelNext(run))
        return;
    EventRepository *events = m_appState->events();
    const std::optional<Event> current = events->getById(localId);
    run->problems->accepted(localId);
    if (!run->sending.provider_event_id.isEmpty())
        rowsOf(m_appState, run->calendar.id).gone(run->sending.provider_event_id);
    if (current && !current->deleted_at) {
        // Restored while the delete was under way: the server copy is gone,
        // so the row goes out again as a new event.
        GoogleEventStore(m_appState->database(), run->calendar.id).forgetServerIdentity(localId);
    } else if (current) {
        events->hardDelete(localId);
        qCInfo(lcProviders) << "[Google] pushed delete" << localId;
    }
    QTimer::singleShot(0, this, [this, run] { pushNext(run); });
}

void SyncClient::onEventWriteFailed(const RunPtr &run, const QString &localId, const SyncResult &result)
{
    // An excluded date that is no occurrence there has nothing to cancel.
    if (run->afterCancelling && result.status == 404 && cancelNext(run))
        return;
    run->afterCancelling = {};
    qCWarning(lcProviders) << "[Google] push failed for" << localId << "status" << result.status;
    qCDebug(lcProviders) << "reason" << result.describe();
    const Event &sent = run->sending;
    const bool inserted = sent.provider_event_id.isEmpty() && !sent.deleted_at && !sent.isOverride();
    const QString askedId = inserted ? clientEventId(sent) : QString();
    if (!askedId.isEmpty() && (result.status == 409 || result.kind == SyncResult::Kind::Unreadable)) {
        // The event may be there under the id it asked for: the next run
        // writes to that one (or inserts anew after a 404).
        GoogleEventStore(m_appState->database(), run->calendar.id).takeServerIdentity(localId, askedId, QString());
        ++run->left;
        QTimer::singleShot(0, this, [this, run] { pushNext(run); });
        return;
    }
    const bool goneThere = result.status == 404 || result.status == 410;
    if (goneThere && !sent.deleted_at && !sent.provider_event_id.isEmpty() && !sent.isOverride()) {
        // Deleted there, changed here: the change brings it back as a new event.
        GoogleEventStore(m_appState->database(), run->calendar.id).forgetServerIdentity(localId);
        rowsOf(m_appState, run->calendar.id).gone(sent.provider_event_id);
        qCInfo(lcProviders) << "[Google] cleared stale providerEventId on" << localId << "for retry as insert";
        ++run->left;
    } else if (result.isRefusal() || goneThere) {
        // Refused for good as it is (an occurrence whose series is gone there
        // answers 404 or 410): this item waits, the others go on.
        run->problems->refuse(localId, run->sentBody, result.describe());
    } else if (result.hasConflict() || result.kind == SyncResult::Kind::Unreadable) {
        // Changed there meanwhile (the next pull merges it), or a write that
        // came back without an id: this item waits for the next run.
        ++run->left;
    } else if (!run->pushFailure) {
        run->pushFailure = result;
    }
    // The server or the way to it failing ends the push; the rows stay pending.
    if (run->pushFailure)
        run->pending.clear();
    QTimer::singleShot(0, this, [this, run] { pushNext(run); });
}

void SyncClient::finishPush(const RunPtr &run)
{
    if (run->reported)
        return;
    if (run->pushClient)
        run->pushClient->deleteLater();
    if (run->pushFailure) {
        fail(run, *run->pushFailure);
        return;
    }
    // One report per run: rows the pull could not store fail the calendar
    // once even though the push went out; the next run passes them by.
    if (run->unsaved > 0) {
        SyncResult unsaved = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing);
        unsaved.limit = run->unsaved;
        fail(run, unsaved);
        return;
    }
    // The calendar's row keeps the sync token and names what was left
    // behind: refused, the next run lists these changes again.
    if (!run->problems->publish(run->left) && !run->rowRefused)
        run->rowRefused = StoreFailure::last();
    if (run->rowRefused) {
        SyncResult refused = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing);
        refused.storeFailure = *run->rowRefused;
        fail(run, refused);
        return;
    }
    run->reported = true;
    Q_EMIT calendarSyncCompleted(run->calendar.id, run->pulled);
}

} // namespace Google
