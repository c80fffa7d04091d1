#include "webcalsyncclient.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "feedapplyjob.h"
#include "feedtext.h"
#include "replysizeguard.h"
#include "subscriptionurl.h"
#include "webcallog.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace Webcal {

SyncClient::SyncClient(AppState *appState, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_network(new QNetworkAccessManager(this))
{
}

void SyncClient::setLimits(int timeLimitMs, qint64 sizeLimitBytes)
{
    m_timeLimitMs = timeLimitMs;
    m_sizeLimitBytes = sizeLimitBytes;
}

Account SyncClient::ensureSubscriptionsAccount(AppState *appState)
{
    if (const std::optional<Account> existing = appState->accounts()->getById(kAccountId))
        return *existing;
    Account account;
    account.id = kAccountId;
    account.name = QObject::tr("Calendar Subscriptions");
    account.type = kAccountType;
    account.color = u"#4285F4"_s;
    account.enabled = true;
    account.exclude_from_sync = false;
    account.created_at = QDateTime::currentDateTimeUtc();
    account.updated_at = account.created_at;
    if (!appState->accounts()->insert(account))
        qCWarning(lcWebcal) << "the subscriptions account was not stored";
    return account;
}

void SyncClient::syncCalendar(const Calendar &calendar)
{
    Q_EMIT calendarSyncStarted(calendar.id);
    const QUrl url = normalizeSubscriptionUrl(calendar.url);
    if (calendar.url.trimmed().isEmpty() || !url.isValid() || url.host().isEmpty()
        || (url.scheme() != "https"_L1 && url.scheme() != "http"_L1)) {
        SyncResult badAddress = SyncResult::failure(SyncResult::Kind::BadAddress, SyncResult::Step::Feed);
        badAddress.subject = calendar.url;
        Q_EMIT calendarSyncFailed(calendar.id, badAddress);
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, u"QuillmartenCalendar/1.0 (+webcal)"_s);
    request.setRawHeader("Accept", "text/calendar, text/plain, */*");
    // Asked for here, not by Qt, so that the compressed stream arrives as it
    // was sent: only then can a stream cut off be told from a whole one.
    request.setRawHeader("Accept-Encoding", "gzip, deflate");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply *reply = m_network->get(request);
    qCDebug(lcWebcal) << "fetching subscription" << calendar.id;

    // Why the fetch was cut short, when it was: the reply then only reports
    // "operation canceled".
    auto limitHit = std::make_shared<std::optional<SyncResult>>();
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [this, reply, limitHit] {
        SyncResult timedOut = SyncResult::failure(SyncResult::Kind::TimedOut, SyncResult::Step::Feed);
        timedOut.limit = m_timeLimitMs / 1000;
        *limitHit = timedOut;
        reply->abort();
    });
    deadline->start(m_timeLimitMs);
    ReplySizeGuard::watch(reply, m_sizeLimitBytes);
    connect(reply, &QNetworkReply::finished, this, [this, reply, calendar, limitHit] {
        if (std::optional<SyncResult> tooLarge = ReplySizeGuard::verdict(reply)) {
            tooLarge->step = SyncResult::Step::Feed;
            *limitHit = tooLarge;
        }
        onFeedReply(reply, calendar, *limitHit);
    });
}

void SyncClient::onFeedReply(QNetworkReply *reply, const Calendar &calendar, const std::optional<SyncResult> &limitHit)
{
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (limitHit) {
        qCInfo(lcWebcal) << "subscription" << calendar.id << "cut short:" << limitHit->describe();
        Q_EMIT calendarSyncFailed(calendar.id, *limitHit);
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        Q_EMIT calendarSyncFailed(calendar.id,
                                  SyncResult::fromReply(SyncResult::Step::Feed, status, reply->error(),
                                                        reply->errorString()));
        return;
    }
    const QByteArray body = reply->readAll();
    if (status < 200 || status > 299) {
        Q_EMIT calendarSyncFailed(calendar.id,
                                  SyncResult::fromReply(SyncResult::Step::Feed, status, QNetworkReply::NoError, {},
                                                        body));
        return;
    }
    if (body.isEmpty()) {
        SyncResult empty = SyncResult::failure(SyncResult::Kind::EmptyAnswer, SyncResult::Step::Feed);
        empty.status = status;
        Q_EMIT calendarSyncFailed(calendar.id, empty);
        return;
    }
    if (!m_appState || !m_appState->database() || !m_appState->events()) {
        Q_EMIT calendarSyncFailed(calendar.id, SyncResult::failure(SyncResult::Kind::LocalStore));
        return;
    }
    // Reading and writing a feed of 100,000 events takes seconds: off the
    // GUI thread, as the file import does.
    auto *job = new FeedApplyJob(m_appState->database()->fileName(), calendar.id, body,
                                 reply->rawHeader("Content-Encoding"),
                                 charsetOf(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray()),
                                 m_sizeLimitBytes, this);
    connect(job, &FeedApplyJob::finished, this,
            [this, job, calendarId = calendar.id](const FeedReplaceResult &result, StoreFailure::Kind failure) {
        job->deleteLater();
        onFeedApplied(calendarId, result, failure);
    });
    connect(job, &FeedApplyJob::refused, this, [this, job, calendarId = calendar.id, status](SyncResult result) {
        job->deleteLater();
        result.status = status;
        Q_EMIT calendarSyncFailed(calendarId, result);
    });
    job->start();
}

void SyncClient::onFeedApplied(const QString &calendarId, const FeedReplaceResult &result, StoreFailure::Kind failure)
{
    qCDebug(lcWebcal) << "subscription" << calendarId << "inserted" << result.inserted << "updated" << result.updated
                      << "unchanged" << result.unchanged << "deleted" << result.deleted << "failed" << result.failed;
    if (!result.committed) {
        SyncResult notStored = SyncResult::failure(SyncResult::Kind::LocalStore, SyncResult::Step::Feed);
        notStored.storeFailure = failure;
        Q_EMIT calendarSyncFailed(calendarId, notStored);
        return;
    }
    // The job wrote over a connection of its own; the program's views
    // listen to this one.
    if (result.changed() && m_appState->events())
        m_appState->events()->scheduleChanged(calendarId);
    if (!recordLeftOut(calendarId, result.failed)) {
        // The calendar cannot say what was left out: the refresh must not
        // pass for a whole one.
        SyncResult untold = SyncResult::failure(SyncResult::Kind::LocalStore);
        untold.storeFailure = StoreFailure::last();
        Q_EMIT calendarSyncFailed(calendarId, untold);
        return;
    }
    Q_EMIT calendarSyncCompleted(calendarId, result.held());
}

bool SyncClient::recordLeftOut(const QString &calendarId, int failed)
{
    // Events the store refused (one without a start, say) are not in the
    // count: the calendar says how many until a feed goes in whole.
    std::optional<Calendar> calendar = m_appState->calendars()->getById(calendarId);
    if (!calendar)
        return true;
    const QString problem = failed == 0 ? QString()
                                        : tr("%n event(s) of the subscription could not be stored", nullptr, failed);
    if (calendar->last_sync_error == problem)
        return true;
    if (failed > 0)
        qCWarning(lcWebcal) << "subscription" << calendarId << failed << "events were not stored";
    calendar->last_sync_error = problem;
    StoreFailure::clear();
    return m_appState->calendars()->update(*calendar);
}

} // namespace Webcal
