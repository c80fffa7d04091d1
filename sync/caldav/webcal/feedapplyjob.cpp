#include "feedapplyjob.h"

#include "database.h"
#include "eventrepository.h"
#include "feedcoding.h"
#include "feedtext.h"
#include "webcallog.h"

namespace Webcal {

FeedApplyJob::FeedApplyJob(const QString &databaseFile, const QString &calendarId, const QByteArray &body,
                           const QByteArray &coding, const QByteArray &charset, qint64 limitBytes, QObject *parent)
    : QObject(parent)
    , m_calendarId(calendarId)
    , m_body(body)
    , m_coding(coding)
    , m_charset(charset)
    , m_limitBytes(limitBytes)
    , m_worker(databaseFile, QStringLiteral("webcal-feed"))
{
}

FeedApplyJob::~FeedApplyJob() = default;

void FeedApplyJob::start()
{
    if (std::exchange(m_started, true))
        return;
    m_worker.post([this](Database *database) { run(database); });
}

std::optional<SyncResult> FeedApplyJob::refusal(const QByteArray &plain, bool streamEnded) const
{
    using Kind = SyncResult::Kind;
    if (!streamEnded || !holdsCalendarData(plain)) {
        qCInfo(lcWebcal) << "subscription" << m_calendarId << "answered" << plain.size() << "bytes without a calendar";
        return SyncResult::failure(Kind::Unreadable, SyncResult::Step::Feed);
    }
    if (!endsItsCalendar(plain)) {
        qCInfo(lcWebcal) << "subscription" << m_calendarId << "arrived cut short after" << plain.size() << "bytes";
        return SyncResult::failure(Kind::IncompleteListing, SyncResult::Step::Feed);
    }
    return std::nullopt;
}

void FeedApplyJob::run(Database *database)
{
    FeedContent content = decodeFeedContent(std::exchange(m_body, {}), m_coding, m_limitBytes);
    std::optional<SyncResult> refused;
    if (content.outcome == FeedContent::Outcome::TooLarge) {
        refused = SyncResult::failure(SyncResult::Kind::TooLarge, SyncResult::Step::Feed);
        refused->limit = m_limitBytes;
    } else if (content.outcome == FeedContent::Outcome::CutShort) {
        qCInfo(lcWebcal) << "subscription" << m_calendarId << "sent a compressed stream that does not end";
        refused = SyncResult::failure(SyncResult::Kind::IncompleteListing, SyncResult::Step::Feed);
    } else {
        refused = refusal(content.bytes, content.outcome == FeedContent::Outcome::Whole);
    }
    if (refused) {
        QMetaObject::invokeMethod(
            this, [this, result = *refused] { Q_EMIT this->refused(result); }, Qt::QueuedConnection);
        return;
    }
    FeedReplaceResult result;
    StoreFailure::Kind failure = StoreFailure::Other;
    if (database) {
        EventRepository events(database);
        QList<Event> parsed = parseFeedEvents(std::exchange(content.bytes, {}), m_charset);
        StoreFailure::clear();
        result = replaceCalendarEvents(database, &events, m_calendarId, std::move(parsed), QDateTime::currentDateTimeUtc());
        failure = result.committed ? StoreFailure::None : StoreFailure::last();
    }
    QMetaObject::invokeMethod(
        this, [this, result, failure] { Q_EMIT finished(result, failure); }, Qt::QueuedConnection);
}

} // namespace Webcal
