#include "feedapplyjob.h"

#include "database.h"
#include "eventrepository.h"
#include "feedtext.h"
#include "icalendar.h"

#include <QThread>

namespace Webcal {

FeedApplyJob::FeedApplyJob(const QString &databaseFile, const QString &calendarId, const QByteArray &body,
                           const QByteArray &charset, QObject *parent)
    : QObject(parent)
    , m_databaseFile(databaseFile)
    , m_calendarId(calendarId)
    , m_body(body)
    , m_charset(charset)
{
}

FeedApplyJob::~FeedApplyJob()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
}

void FeedApplyJob::start()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] { run(); });
    m_thread->start();
}

void FeedApplyJob::run()
{
    FeedReplaceResult result;
    StoreFailure::Kind failure = StoreFailure::Other;
    {
        // The connection belongs to this thread; its name is the job's own.
        const QString connection = QStringLiteral("webcal-feed-%1").arg(quintptr(this), 0, 16);
        Database database;
        if (database.open(m_databaseFile, connection)) {
            EventRepository events(&database);
            QList<Event> parsed = ICalendar::parseEvents(decodeFeed(std::exchange(m_body, {}), m_charset));
            StoreFailure::clear();
            result = replaceCalendarEvents(&database, &events, m_calendarId, parsed, QDateTime::currentDateTimeUtc());
            failure = result.committed ? StoreFailure::None : StoreFailure::last();
        }
    }
    QMetaObject::invokeMethod(
        this, [this, result, failure] { Q_EMIT finished(result, failure); }, Qt::QueuedConnection);
}

} // namespace Webcal
