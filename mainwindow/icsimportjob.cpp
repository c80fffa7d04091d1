#include "icsimportjob.h"
#include "storefailure.h"

#include "eventrepository.h"

#include <QThread>

IcsImportJob::IcsImportJob(const QString &databaseFile, const QString &path, const QString &calendarId, QObject *parent)
    : QObject(parent)
    , m_databaseFile(databaseFile)
    , m_path(path)
    , m_calendarId(calendarId)
{
}

IcsImportJob::~IcsImportJob()
{
    if (!m_thread)
        return;
    cancel();
    m_thread->wait();
    delete m_thread;
}

void IcsImportJob::start()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] { run(); });
    m_thread->start();
}

void IcsImportJob::cancel()
{
    m_cancel.store(true);
}

void IcsImportJob::run()
{
    IcsImport::Result result;
    {
        // The connection belongs to this thread; its name is the job's own.
        const QString connection = QStringLiteral("ics-import-%1").arg(quintptr(this), 0, 16);
        Database database;
        if (database.open(m_databaseFile, connection)) {
            EventRepository events(&database);
            result = IcsImport::importFile(&events, &database, m_path, m_calendarId, &m_cancel, [this](int permille) {
                QMetaObject::invokeMethod(
                    this, [this, permille] { Q_EMIT progress(permille); }, Qt::QueuedConnection);
            });
        } else {
            result.outcome = IcsImport::Outcome::StoreFailed;
            result.failure = StoreFailure::Other;
        }
    }
    QMetaObject::invokeMethod(
        this, [this, result] { Q_EMIT finished(result); }, Qt::QueuedConnection);
}
