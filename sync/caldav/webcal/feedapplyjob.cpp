#include "feedapplyjob.h"

#include "database.h"
#include "eventrepository.h"
#include "feedtext.h"

namespace Webcal {

FeedApplyJob::FeedApplyJob(const QString &databaseFile, const QString &calendarId, const QByteArray &body,
                           const QByteArray &charset, QObject *parent)
    : QObject(parent)
    , m_calendarId(calendarId)
    , m_body(body)
    , m_charset(charset)
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

void FeedApplyJob::run(Database *database)
{
    FeedReplaceResult result;
    StoreFailure::Kind failure = StoreFailure::Other;
    if (database) {
        EventRepository events(database);
        QList<Event> parsed = parseFeedEvents(std::exchange(m_body, {}), m_charset);
        StoreFailure::clear();
        result = replaceCalendarEvents(database, &events, m_calendarId, std::move(parsed), QDateTime::currentDateTimeUtc());
        failure = result.committed ? StoreFailure::None : StoreFailure::last();
    }
    QMetaObject::invokeMethod(
        this, [this, result, failure] { Q_EMIT finished(result, failure); }, Qt::QueuedConnection);
}

} // namespace Webcal
