#include "icsimportjob.h"
#include "storefailure.h"

#include "database.h"
#include "eventrepository.h"

IcsImportJob::IcsImportJob(const QString &databaseFile, const QString &path, const QString &calendarId, QObject *parent)
    : QObject(parent)
    , m_path(path)
    , m_calendarId(calendarId)
    , m_worker(databaseFile, QStringLiteral("ics-import"), StoreWorker::LogCopy::AfterEachPiece)
{
}

IcsImportJob::~IcsImportJob()
{
    cancel();
}

void IcsImportJob::start()
{
    if (std::exchange(m_started, true))
        return;
    // Reported as soon as it is stored: the copy of what it wrote into the
    // file (the worker's checkpoint after each piece, half a second for a
    // large file) is no part of it. A piece of its own then says when that
    // copy is done and the cached pages are freed: deleting the job then
    // waits for neither.
    m_worker.post([this](Database *database) {
        run(database);
        QMetaObject::invokeMethod(
            this, [this, result = m_result] { Q_EMIT finished(result); }, Qt::QueuedConnection);
    });
    m_worker.post([this](Database *database) {
        if (database)
            database->releaseCache();
        QMetaObject::invokeMethod(this, &IcsImportJob::settled, Qt::QueuedConnection);
    });
}

void IcsImportJob::cancel()
{
    m_cancel.store(true);
}

void IcsImportJob::run(Database *database)
{
    IcsImport::Result &result = m_result;
    if (database) {
        EventRepository events(database);
        result = IcsImport::importFile(&events, database, m_path, m_calendarId, &m_cancel, [this](int permille) {
            QMetaObject::invokeMethod(
                this, [this, permille] { Q_EMIT progress(permille); }, Qt::QueuedConnection);
        });
    } else {
        result.outcome = IcsImport::Outcome::StoreFailed;
        result.failure = StoreFailure::Other;
    }
}
