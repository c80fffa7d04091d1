#include "microsoftsyncclient.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "exceptionkey.h"
#include "microsoftauthservice.h"
#include "microsofteventstore.h"
#include "provideraccess.h"
#include "providerapplyjob.h"
#include "providerproblems.h"
#include "providerslog.h"
#include "recordnames.h"

#include <QCoreApplication>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace Microsoft {

namespace {

// The stored cursor: the window of the round and the delta link that goes
// on with it, "<from>|<to>|<link>".
struct Cursor
{
    QDateTime from;
    QDateTime to;
    QString link;

    static Cursor read(const QString &stored)
    {
        // A cursor of older versions (a bare delta token) reads as none.
        const QStringList parts = stored.split(u'|');
        if (parts.size() < 3)
            return {};
        Cursor cursor{QDateTime::fromString(parts.at(0), Qt::ISODate), QDateTime::fromString(parts.at(1), Qt::ISODate),
                      stored.section(u'|', 2)};
        return cursor.from.isValid() && cursor.to.isValid() ? cursor : Cursor();
    }
    QString text() const
    {
        return from.toUTC().toString(Qt::ISODate) + u'|' + to.toUTC().toString(Qt::ISODate) + u'|' + link;
    }
};

} // namespace

// One calendar's run: its row, the token, the round's window and the rows
// still to push.
struct SyncClient::Run
{
    Calendar calendar;
    QString accessToken;
    int pulled = 0;
    bool reported = false;
    bool relisted = false; // a refused delta link costs one new round, not a loop
    Cursor cursor;
    bool newRound = false;
    CalendarClient::EventListPage page;
    QList<Event> pending;
    std::optional<SyncResult> pushFailure;
    std::unique_ptr<ProviderProblems> problems;
    int left = 0; // rows this run could not send, besides those recorded
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
    run->problems = std::make_unique<ProviderProblems>(m_appState, calendar.id);
    m_runs.insert(run);
    Q_EMIT calendarSyncStarted(calendar.id);
    if (!m_appState->accounts()->getById(calendar.account_id)) {
        finish(run, SyncResult::failure(SyncResult::Kind::AccountMissing));
        return;
    }
    if (AuthService::loadTokens(m_tokens, calendar.account_id).refreshToken.isEmpty()) {
        finish(run, SyncResult::failure(SyncResult::Kind::SignInNeeded));
        return;
    }
    accessFor(calendar.account_id)
        ->token(
            this,
            [this, run](const QString &access) {
        run->accessToken = access;
        runPull(run);
            },
            [this, run](const SyncResult &result) { finish(run, result); });
}

ProviderAccess *SyncClient::accessFor(const QString &accountId)
{
    // One per account: its calendars share each refreshed token.
    return ProviderAccess::ofAccount(
        m_access, accountId, m_tokens, AuthService::tokenKey(accountId),
        [network = m_network, config = m_config] { return new AuthService(network, config); }, this);
}

CalendarClient *SyncClient::newClient(Run *run)
{
    auto *client = new CalendarClient(m_network, m_graphBase, this);
    client->setAccessToken(run->accessToken);
    client->setAccess(accessFor(run->calendar.account_id));
    return client;
}

CalendarClient *SyncClient::clientFor(Run *run)
{
    CalendarClient *client = newClient(run);
    connect(client, &CalendarClient::requestFailed, this, [this, client, run](const SyncResult &result) {
        client->deleteLater();
        finish(run, result);
    });
    return client;
}

void SyncClient::runPull(Run *run)
{
    CalendarClient *client = clientFor(run);
    connect(client, &CalendarClient::eventsListed, this,
            [this, client, run](const QString &, const CalendarClient::EventListPage &page) {
        client->deleteLater();
        onListed(run, page);
    });
    connect(client, &CalendarClient::deltaTokenExpired, this, [this, client, run](const QString &) {
        client->deleteLater();
        // Only the cursor goes; the next listing is a new round.
        storeDeltaToken(run->calendar.id, QString());
        run->calendar.delta_sync_token.clear();
        if (run->relisted) {
            finish(run, SyncResult::failure(SyncResult::Kind::SyncTokenRefused, SyncResult::Step::EventListing));
            return;
        }
        run->relisted = true;
        runPull(run);
    });
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime from = now.addMonths(-kWindowMonthsBack);
    run->cursor = Cursor::read(run->calendar.delta_sync_token);
    // A round keeps its window; once the window has moved on by a month, a
    // new round over the current one begins. What it lists unchanged is
    // not written again.
    run->newRound = run->cursor.link.isEmpty() || qAbs(run->cursor.from.daysTo(from)) > kReanchorDays;
    if (run->newRound)
        run->cursor = Cursor{from, now.addMonths(kWindowMonthsAhead), QString()};
    client->requestEventsPage(run->calendar.url, run->cursor.link, run->cursor.from, run->cursor.to);
}

void SyncClient::onListed(Run *run, const CalendarClient::EventListPage &page)
{
    run->page = page;
    auto series = std::make_shared<QStringList>();
    // The calendar's rows are read and written on a thread of their own: a
    // round may touch thousands, and the window keeps answering meanwhile.
    ProviderApplyJob::startFor(
        this, m_appState, ProviderApplyJob::Access::Read,
        [calendarId = run->calendar.id, items = page.items,
         series](const ProviderStore &store, ProviderApplyJob::Outcome &, const std::atomic<bool> &) {
        *series = EventStore(store, calendarId).seriesToRead(items);
        },
        [this, run, series](const ProviderApplyJob::Outcome &outcome) {
        if (outcome.failed > 0) {
            finish(run, SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing));
            return;
        }
        if (series->isEmpty()) {
            applyRound(run, {}, {});
            return;
        }
        CalendarClient *client = clientFor(run);
        connect(client, &CalendarClient::eventsRead, this,
                [this, client, run](const QString &, const QList<QJsonObject> &found, const QStringList &gone) {
            client->deleteLater();
            applyRound(run, found, gone);
        });
        client->readEvents(run->calendar.url, *series);
    });
}

void SyncClient::applyRound(Run *run, const QList<QJsonObject> &masters, const QStringList &gone)
{
    run->pulled = int(run->page.items.size());
    const QDateTime from = run->newRound ? run->cursor.from : QDateTime();
    const QDateTime to = run->newRound ? run->cursor.to : QDateTime();
    ProviderApplyJob::startFor(
        this, m_appState, ProviderApplyJob::Access::Write,
        [calendarId = run->calendar.id, items = std::exchange(run->page.items, {}), masters, gone, from,
         to](const ProviderStore &store, ProviderApplyJob::Outcome &outcome, const std::atomic<bool> &cancelled) {
        if (cancelled)
            return;
        ProviderProblems problems(store.database, calendarId);
        const EventStore::Applied applied =
            EventStore(store, calendarId).apply(items, masters, gone, &problems, from, to);
        outcome.upserted = applied.upserted;
        outcome.tombstoned = applied.tombstoned;
        outcome.failed = applied.failed;
        },
        [this, run](const ProviderApplyJob::Outcome &applied) { finishRound(run, applied); });
}

void SyncClient::finishRound(Run *run, const ProviderApplyJob::Outcome &applied)
{
    // A round with nothing new has the views reload nothing.
    if (applied.upserted + applied.tombstoned > 0)
        m_appState->events()->scheduleChanged(run->calendar.id);
    qCInfo(lcProviders) << "[Microsoft] sync" << run->calendar.id << "upserted" << applied.upserted << "tombstoned"
                        << applied.tombstoned << "failed" << applied.failed;
    if (applied.failed > 0) {
        SyncResult unsaved = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing);
        unsaved.limit = applied.failed;
        finish(run, unsaved);
        return;
    }
    // Only once the rows are stored: a link saved before would skip them.
    run->cursor.link = run->page.deltaToken;
    if (!storeDeltaToken(run->calendar.id, run->cursor.text())) {
        // The next run lists these changes again.
        SyncResult refused = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing);
        refused.storeFailure = StoreFailure::last();
        finish(run, refused);
        return;
    }
    runPush(run);
}

bool SyncClient::storeDeltaToken(const QString &calendarId, const QString &token)
{
    std::optional<Calendar> current = m_appState->calendars()->getById(calendarId);
    if (!current)
        return true;
    current->delta_sync_token = token;
    current->updated_at = QDateTime::currentDateTimeUtc();
    StoreFailure::clear();
    return m_appState->calendars()->update(*current);
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
    if (row->deleted_at) {
        // Against the newest version met: a deletion here wins.
        send(run, *row, Write::Delete, row->provider_event_id, {},
             EventStore(m_appState, run->calendar.id).changes(*row, nullptr, nullptr).etag);
        return;
    }
    QString problem;
    const std::optional<Event> series = row->isOverride()
        ? events->getByUidAndRecurrenceId(row->master_event_uid, run->calendar.id, QString())
        : std::nullopt;
    const ProviderRows::Update update =
        EventStore(m_appState, run->calendar.id).changes(*row, series ? &*series : nullptr, &problem);
    // What was refused, or cannot go as it is, waits until it changes.
    const QByteArray sent = QJsonDocument(update.body).toJson(QJsonDocument::Compact) + problem.toUtf8();
    if (!problem.isEmpty()) {
        run->problems->refuse(row->id, sent, problem);
        pushNext(run);
        return;
    }
    if (run->problems->wasRefused(row->id, sent)) {
        pushNext(run);
        return;
    }
    const QJsonObject body = update.body;
    if (row->isOverride()) {
        // One occurrence changes by its own id there.
        if (!row->provider_event_id.isEmpty()) {
            send(run, *row, Write::Update, row->provider_event_id, body, update.etag);
            return;
        }
        const QString known = series ? EventStore::knownInstance(*series, row->recurrence_id) : QString();
        withInstance(run, series ? *series : *row, row->master_event_uid, row->recurrence_id, known,
                     [this, run, row = *row, body](const QString &instanceId) {
            if (instanceId.isEmpty()) {
                // No such occurrence there: nothing to change it into.
                run->problems->refuse(row.id, {},
                                      QCoreApplication::translate("Microsoft::SyncClient",
                                                                  "The occurrence is not on the server."));
                pushNext(run);
                return;
            }
            send(run, row, Write::Update, instanceId, body, QString());
        });
        return;
    }
    if (row->provider_event_id.isEmpty()) {
        // Named, so that an insert whose answer is lost is known again.
        QJsonObject inserted = body;
        inserted.insert("transactionId"_L1, row->id);
        send(run, *row, Write::Insert, QString(), inserted, QString());
        return;
    }
    pushExclusions(run, *row, update);
}

void SyncClient::pushExclusions(Run *run, const Event &master, const ProviderRows::Update &update)
{
    // Occurrences deleted here go as deletes of those occurrences; the
    // series itself changes only where its own properties did.
    const QStringList keys = EventStore::newExclusions(master);
    if (keys.isEmpty()) {
        send(run, master, Write::Update, master.provider_event_id, update.body, update.etag);
        return;
    }
    const QString key = keys.first();
    // Graph names an occurrence by its date (all-day) or its UTC start.
    withInstance(run, master, master.uid, ExceptionKey::normalized(master, key), EventStore::knownInstance(master, key),
                 [this, run, master, update, key](const QString &instanceId) {
        const auto done = [this, run, master, update, key] {
            std::optional<Event> now = m_appState->events()->getById(master.id);
            if (!now) {
                pushNext(run);
                return;
            }
            EventStore::excluded(*now, key);
            m_appState->events()->update(*now);
            pushExclusions(run, *now, update);
        };
        if (instanceId.isEmpty()) {
            done();
            return;
        }
        CalendarClient *client = clientFor(run);
        disconnect(client, &CalendarClient::requestFailed, this, nullptr);
        connect(client, &CalendarClient::eventDeleted, this, [client, done](const QString &) {
            client->deleteLater();
            done();
        });
        connect(client, &CalendarClient::eventWriteFailed, this,
                [this, client, run, master](const QString &, const SyncResult &result) {
            client->deleteLater();
            failed(run, master, {}, result);
        });
        client->deleteEvent(master.id, run->calendar.url, instanceId, QString());
    });
}

void SyncClient::withInstance(Run *run, const Event &series, const QString &seriesId, const QString &key,
                              const QString &known, const std::function<void(const QString &)> &then)
{
    if (!known.isEmpty()) {
        then(known);
        return;
    }
    CalendarClient *client = clientFor(run);
    connect(client, &CalendarClient::instanceFound, this,
            [client, then](const QString &, const QString &, const QString &instanceId) {
        client->deleteLater();
        then(instanceId);
    });
    const QJsonObject raw = QJsonDocument::fromJson(series.raw_icalendar.toUtf8()).object();
    client->findInstance(run->calendar.url, seriesId, key, series.is_all_day,
                         CalendarClient::recurrenceZone(raw.value("recurrence"_L1).toObject(), QTimeZone()));
}

void SyncClient::send(Run *run, const Event &pushed, Write write, const QString &providerId, const QJsonObject &body,
                      const QString &etag)
{
    // Nothing changed that Graph holds: no request at all.
    if (write == Write::Update && body.isEmpty()) {
        markSynced(run, pushed, {}, providerId, etag.isEmpty() ? pushed.etag : etag);
        return;
    }
    CalendarClient *client = newClient(run);
    const QByteArray sent = QJsonDocument(body).toJson(QJsonDocument::Compact);
    auto resource = std::make_shared<QJsonObject>();
    connect(client, &CalendarClient::eventResource, this,
            [resource](const QString &, const QJsonObject &answer) { *resource = answer; });
    connect(client, &CalendarClient::eventWritten, this,
            [this, client, run, pushed, resource](const QString &, const QString &id, const QString &changeKey) {
        client->deleteLater();
        qCDebug(lcProviders) << "[Microsoft] pushed" << pushed.id << "→ providerEventId=" << id;
        markSynced(run, pushed, *resource, id, changeKey);
    });
    connect(client, &CalendarClient::eventDeleted, this, [this, client, run, providerId](const QString &localId) {
        client->deleteLater();
        qCDebug(lcProviders) << "[Microsoft] pushed delete" << localId;
        m_appState->events()->hardDelete(localId);
        EventStore(m_appState, run->calendar.id).gone(providerId);
        run->problems->accepted(localId);
        pushNext(run);
    });
    connect(client, &CalendarClient::eventWriteFailed, this,
            [this, client, run, pushed, sent](const QString &, const SyncResult &result) {
        client->deleteLater();
        failed(run, pushed, sent, result);
    });
    if (write == Write::Delete)
        client->deleteEvent(pushed.id, run->calendar.url, providerId, etag);
    else if (write == Write::Insert)
        client->insertEvent(pushed.id, run->calendar.url, body);
    else
        client->updateEvent(pushed.id, run->calendar.url, providerId, body, etag);
}

void SyncClient::markSynced(Run *run, const Event &pushed, const QJsonObject &resource, const QString &providerId,
                            const QString &changeKey)
{
    std::optional<Event> now = m_appState->events()->getById(pushed.id);
    if (!now) {
        qCInfo(lcProviders) << "[Microsoft] push success but local row gone:" << pushed.id;
        pushNext(run);
        return;
    }
    // The Graph id names the row from now on, as for pulled rows; an
    // occurrence keeps its series' uid.
    if (!now->isOverride())
        now->uid = providerId;
    now->provider_event_id = providerId;
    now->etag = changeKey;
    // An edit made while the request was out goes with the next push;
    // stored times are whole seconds, so the content decides as well.
    const bool unchanged = now->last_modified == pushed.last_modified && !now->deleted_at
        && CalendarClient::eventToJson(*now) == CalendarClient::eventToJson(pushed)
        && now->exception_dates == pushed.exception_dates;
    if (!resource.isEmpty())
        EventStore(m_appState, run->calendar.id).written(*now, resource);
    now->sync_status = unchanged ? SyncStatus::Synced : SyncStatus::Pending;
    StoreFailure::clear();
    if (!m_appState->events()->update(*now)) {
        // The server took the write and the store would not record it: the
        // row stays pending, and the run must not pass for one that synced it.
        SyncResult refused = SyncResult::failure(SyncResult::Kind::LocalStore);
        refused.storeFailure = StoreFailure::last();
        failed(run, pushed, {}, refused);
        return;
    }
    run->problems->accepted(pushed.id);
    pushNext(run);
}

void SyncClient::failed(Run *run, const Event &pushed, const QByteArray &sent, const SyncResult &result)
{
    qCInfo(lcProviders) << "[Microsoft] push failed for" << pushed.id << "status" << result.status;
    qCDebug(lcProviders) << "reason" << result.describe();
    // A write refused for good is this item's problem; the others go on.
    if (result.isRefusal()) {
        run->problems->refuse(pushed.id, sent, result.describe());
        pushNext(run);
        return;
    }
    // Met a newer version, or an answer without the event: the row stays
    // pending for the next run, which pulls first.
    if (!result.canRetryLater() && (result.hasConflict() || result.kind == SyncResult::Kind::Unreadable)) {
        ++run->left;
        pushNext(run);
        return;
    }
    if (result.status == 404 && !pushed.deleted_at && !pushed.isOverride()) {
        if (std::optional<Event> now = m_appState->events()->getById(pushed.id)) {
            qCInfo(lcProviders) << "[Microsoft] cleared stale providerEventId on" << pushed.id << "for retry as insert";
            now->provider_event_id.clear();
            now->etag.clear();
            now->raw_icalendar.clear();
            now->sync_status = SyncStatus::Pending;
            m_appState->events()->update(*now);
        }
    }
    run->pushFailure = result;
    // The server or the way to it failing (a 429 among them) ends the push:
    // the rows stay pending, and no more requests go out meanwhile.
    if (result.canRetryLater())
        run->pending.clear();
    pushNext(run);
}

void SyncClient::finish(Run *run, std::optional<SyncResult> failure)
{
    if (run->reported)
        return;
    run->reported = true;
    const QString calendarId = run->calendar.id;
    const int pulled = run->pulled;
    std::unique_ptr<ProviderProblems> problems = std::move(run->problems);
    const int left = run->left;
    // `failure` is a copy: it may have been the run's own push failure, gone
    // with the run.
    m_runs.remove(run);
    delete run;
    // Items left behind are named on the calendar, as for CalDAV.
    if (!failure && problems && !problems->publish(left)) {
        failure = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::EventListing);
        failure->storeFailure = StoreFailure::last();
    }
    if (!failure) {
        Q_EMIT calendarSyncCompleted(calendarId, pulled);
        return;
    }
    failure->provider = SyncResult::Provider::Microsoft;
    Q_EMIT calendarSyncFailed(calendarId, *failure);
}

} // namespace Microsoft
