#include "caldavsyncrun.h"

#include "caldaveventpush.h"
#include "caldaveventstore.h"
#include "caldavlog.h"
#include "caldavparse.h"
#include "caldavtaskpush.h"
#include "caldavtaskstore.h"
#include "caldavworkerstore.h"
#include "caldavxml.h"
#include "calendarrepository.h"
#include "database.h"
#include "storefailure.h"
#include "syncitemproblems.h"
#include "syncresult.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

CalDavSyncRun::CalDavSyncRun(const CalDavSyncStores &stores, const Calendar &calendar, const QString &userName,
                             const QString &password, const QString &pinnedSha256, QObject *parent)
    : QObject(parent)
    , m_stores(stores)
    , m_calendar(calendar)
    , m_url(calendar.url, QUrl::TolerantMode)
    , m_client(new CalDavClient(this))
    , m_eventStore(std::make_unique<CalDavEventStore>(stores.database, stores.events, calendar.id))
    , m_taskStore(std::make_unique<CalDavTaskStore>(stores.database, stores.tasks, calendar.id))
    , m_problems(std::make_unique<SyncItemProblems>(stores.database, calendar.id))
    , m_worker(std::make_unique<CalDavWorkerStore>(stores.database->fileName(), calendar.id, m_url, this))
{
    m_client->setCredentials(userName, password);
    if (!pinnedSha256.isEmpty())
        m_client->setTrustedCertificateSha256(pinnedSha256);
    connect(m_client, &CalDavClient::untrustedCertEncountered, this,
            [this](const UntrustedCertInfo &info) { Q_EMIT untrustedCertEncountered(m_calendar.id, info); });
    m_events.store = m_eventStore.get();
    m_tasks.store = m_taskStore.get();
}

CalDavSyncRun::~CalDavSyncRun() = default;

void CalDavSyncRun::setTimeouts(int transferMs, int deadlineMs)
{
    m_client->setTransferTimeout(transferMs);
    m_client->setRequestDeadline(deadlineMs);
}

void CalDavSyncRun::start()
{
    m_client->propfind(m_url, CalDavXml::ctagPropfindBody(), 0,
                       [this](const CalDavClient::Response &response) { onMarkers(response); });
}

void CalDavSyncRun::onMarkers(const CalDavClient::Response &response)
{
    if (!response.isSuccess()) {
        fail(response.result(SyncResult::Step::Markers));
        return;
    }
    m_ctag = CalDavParse::parseCtag(response.body);
    m_syncToken = CalDavParse::parseSyncToken(response.body);
    // Either marker moves with every change of the collection, to-dos included.
    const bool unchanged = (m_ctag || m_syncToken) && (!m_ctag || *m_ctag == m_calendar.ctag)
        && (!m_syncToken || *m_syncToken == m_calendar.sync_token);
    if (unchanged) {
        qCDebug(lcCalDav) << "[CalDav]" << m_calendar.name << "unchanged on the server, nothing to pull";
        if (saveCalendar(false))
            runPush();
        return;
    }
    runPull();
}

void CalDavSyncRun::runPull()
{
    listCollection(
        &m_events,
        [this](const CalDavClient::Response &listing) { fail(listing.result(SyncResult::Step::EventListing)); },
        [this] { runTaskPull(); });
}

void CalDavSyncRun::listCollection(Pull *pull, const ListingFailed &listingFailed, const std::function<void()> &next)
{
    const QString component = pull->store->component();
    m_client->report(m_url, CalDavXml::etagQueryBody(component), 1,
                     [this, pull, listingFailed, next, component](const CalDavClient::Response &response) {
        if (!response.isSuccess()) {
            listingFailed(response);
            return;
        }
        m_worker->compare(component, response.body,
                          [this, pull, next, component](const std::optional<CalDavWorkerStore::Listing> &listing) {
            if (!listing || storeBroke()) {
                storeFailed();
                return;
            }
            qCDebug(lcCalDav) << "[CalDav]" << m_calendar.name << component << "listed" << listing->listed.size()
                              << "changed" << listing->changed.size();
            if (!listing->whole) {
                qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendar.id << "listing broke off; nothing is removed";
                pull->complete = false;
                pull->cutShort = true;
            }
            fetchChanged(pull, listing->changed,
                         [this, pull, component, whole = listing->whole, listed = listing->listed, next] {
                // Only a whole listing tells what the server no longer has.
                if (!whole) {
                    next();
                    return;
                }
                m_worker->dropUnlisted(component, listed, [this, pull, next](std::optional<int> dropped) {
                    if (!dropped || storeBroke()) {
                        storeFailed();
                        return;
                    }
                    if (*dropped > 0)
                        pull->store->scheduleChanged();
                    next();
                });
            });
        });
    });
}

void CalDavSyncRun::fetchChanged(Pull *pull, QStringList hrefs, const std::function<void()> &next)
{
    if (hrefs.isEmpty()) {
        next();
        return;
    }
    const QStringList batch = hrefs.mid(0, kMultigetBatch);
    hrefs.remove(0, batch.size());
    m_client->report(m_url, CalDavXml::multigetBody(batch), 1,
                     [this, pull, batch, hrefs, next](const CalDavClient::Response &response) {
        if (!response.isSuccess()) {
            qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendar.id << "multiget failed:" << response.error
                                << "status=" << response.status;
            // The server or the way to it failed, not these objects.
            const SyncResult result = response.result(SyncResult::Step::Fetch);
            if (result.canRetryLater()) {
                fail(result);
                return;
            }
            pull->complete = false;
            pull->unfetched += int(batch.size());
            fetchChanged(pull, hrefs, next);
            return;
        }
        m_worker->apply(pull->store->component(), response.body,
                        [this, pull, batch, hrefs, next](const std::optional<CalDavWorkerStore::Answer> &answer) {
            if (!answer || storeBroke()) {
                storeFailed();
                return;
            }
            qCDebug(lcCalDav) << "[CalDav]" << m_calendar.name << "multiget filled" << answer->filled.size() << "of"
                              << batch.size() << "resources";
            for (const QString &href : batch) {
                if (!answer->filled.contains(href)) {
                    qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendar.id << "still missing body for href"
                                        << href;
                    pull->complete = false;
                    ++pull->unfetched;
                }
            }
            const int before = pull->applied.parsed;
            pull->applied.add(answer->applied);
            // The markers must not claim an object that is not here: the next
            // run lists the collection again and fetches it once more.
            if (pull->applied.failed > 0)
                pull->complete = false;
            pull->store->scheduleChanged();
            if (pull == &m_events) {
                for (int count = (before / 25 + 1) * 25; count <= pull->applied.parsed; count += 25)
                    Q_EMIT progress(m_calendar.id, count);
            }
            fetchChanged(pull, hrefs, next);
        });
    });
}

bool CalDavSyncRun::storeBroke() const
{
    return m_worker->storeFailure() != StoreFailure::None;
}

void CalDavSyncRun::storeFailed()
{
    // A full disk would refuse every row that follows, and the calendar's
    // own error text too: the run ends and says so where no write is needed.
    qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendar.id << "the sync's own connection to the store failed"
                        << int(m_worker->storeFailure());
    SyncResult result = SyncResult::failure(SyncResult::Kind::LocalStore);
    result.storeFailure = m_worker->storeFailure();
    fail(result);
}

void CalDavSyncRun::runTaskPull()
{
    const auto goOn = [this] {
        if (saveCalendar(m_events.complete && m_tasks.complete))
            runPush();
    };
    if (!holdsTasks()) {
        goOn();
        return;
    }
    listCollection(
        &m_tasks,
        [this, goOn](const CalDavClient::Response &listing) {
        const SyncResult result = listing.result(SyncResult::Step::TaskListing);
        if (result.canRetryLater()) {
            fail(result);
            return;
        }
        // A calendar that holds no to-dos may refuse the query (403); that
        // is an answer, anything else leaves the to-dos unknown.
        qCInfo(lcCalDav) << "Task pull skipped (HTTP" << listing.status << ") for" << m_calendar.id;
        m_tasks.complete = listing.status == 403;
        goOn();
        },
        goOn);
}

bool CalDavSyncRun::saveCalendar(bool markersKnown)
{
    // Read again: a rename or colour change made during the run must survive.
    const std::optional<Calendar> stored = m_stores.calendars->getById(m_calendar.id);
    if (!stored)
        return true;
    Calendar updated = *stored;
    // Markers are kept only when everything they cover was fetched; else the
    // next run lists the collection again.
    if (markersKnown && m_ctag)
        updated.ctag = *m_ctag;
    if (markersKnown && m_syncToken)
        updated.sync_token = *m_syncToken;
    // The run goes on and completes; what did not come in is fetched again
    // by the next one, and meanwhile the calendar says that it is missing.
    updated.last_sync_error = problemText();
    return updated == *stored || storeCalendar(updated);
}

bool CalDavSyncRun::storeCalendar(const Calendar &updated)
{
    StoreFailure::clear();
    if (m_stores.calendars->update(updated))
        return true;
    // The markers were not kept: the next run lists the collection again.
    SyncResult result = SyncResult::failure(SyncResult::Kind::LocalStore);
    result.storeFailure = StoreFailure::last();
    fail(result);
    return false;
}

QString CalDavSyncRun::problemText() const
{
    // Objects not brought in this time, and the items left alone until
    // they change (unreadable there, refused here).
    const int missed = m_events.unfetched + m_events.applied.failed + m_tasks.unfetched + m_tasks.applied.failed
        + m_problems->count();
    if (missed > 0)
        qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendar.id << missed << "objects could not be synced";
    return missed == 0
        ? QString()
        : QCoreApplication::translate("CalDavSyncClient", "%n item(s) could not be synced", nullptr, missed);
}

void CalDavSyncRun::runPush()
{
    auto *push = new CalDavEventPush(m_client, m_url, m_calendar.name, m_eventStore.get(), m_worker.get(),
                                     m_stores.events, m_stores.conflicts, this);
    push->setProblems(m_problems.get());
    push->start(
        [this, push] {
        m_conflict = push->conflict();
        runTaskPush();
        },
        [this](const SyncResult &result) { fail(result); });
}

void CalDavSyncRun::runTaskPush()
{
    auto *push = new CalDavTaskPush(m_client, m_url, m_calendar.name, m_taskStore.get(), m_worker.get(),
                                    m_stores.tasks, this);
    push->setProblems(m_problems.get());
    push->start(
        [this, push] {
        if (!m_conflict)
            m_conflict = push->conflict();
        finish();
        },
        [this](const SyncResult &result) { fail(result); });
}

void CalDavSyncRun::fail(const SyncResult &result)
{
    if (m_done)
        return;
    m_done = true;
    // The server's words may quote an item: only the calendar's id, the step
    // and the status go out above debug.
    qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendar.id << "sync failed at step" << int(result.step)
                        << "status=" << result.status;
    qCDebug(lcCalDav) << "[CalDav] calendar" << m_calendar.id << "failure:" << result.describe();
    Q_EMIT failed(m_calendar.id, result);
    deleteLater();
}

void CalDavSyncRun::finish()
{
    if (m_done)
        return;
    // The push may have met items the server refused.
    if (std::optional<Calendar> stored = m_stores.calendars->getById(m_calendar.id)) {
        const QString problems = problemText();
        if (stored->last_sync_error != problems) {
            stored->last_sync_error = problems;
            if (!storeCalendar(*stored))
                return;
        }
    }
    m_done = true;
    const int count = m_events.applied.written + m_tasks.applied.written;
    qCDebug(lcCalDav) << "[CalDav]" << m_calendar.name << "parsed=" << m_events.applied.parsed << "written=" << count;
    // Everything else is synced; what waits for the next run is told, the
    // user's own change first.
    std::optional<SyncResult> unfinished = m_conflict;
    if (!unfinished && (m_events.cutShort || m_tasks.cutShort)) {
        qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendar.id << "synced from a listing cut short";
        unfinished = SyncResult::failure(SyncResult::Kind::IncompleteListing,
                                         m_events.cutShort ? SyncResult::Step::EventListing
                                                           : SyncResult::Step::TaskListing);
    }
    if (unfinished)
        Q_EMIT failed(m_calendar.id, *unfinished);
    else
        Q_EMIT completed(m_calendar.id, count);
    deleteLater();
}

bool CalDavSyncRun::holdsTasks() const
{
    const QJsonDocument doc = QJsonDocument::fromJson(m_calendar.supported_components.toUtf8());
    const QJsonArray components = doc.array();
    for (const QJsonValue &component : components) {
        if (component.toString().compare("VTODO"_L1, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
