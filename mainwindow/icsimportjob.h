#pragma once

#include "icsimport.h"
#include "storeworker.h"

#include <QObject>
#include <QString>

#include <atomic>

// One .ics import on a thread of its own, over its own connection to the
// database file, so that the window keeps answering while a large file goes
// in. Emits progress() now and then, finished() once the import is stored or
// given up, and settled() after that once its thread has copied what it
// wrote into the file and freed its pages, all on the thread of the job.
// Destroying the job cancels the import and waits for its thread: after
// settled() that wait is nothing.
class IcsImportJob : public QObject
{
    Q_OBJECT
public:
    IcsImportJob(const QString &databaseFile, const QString &path, const QString &calendarId,
                 QObject *parent = nullptr);
    ~IcsImportJob() override;

    const QString &path() const { return m_path; }
    const QString &calendarId() const { return m_calendarId; }

    void start();
    // The import rolls back what it stored and finishes as cancelled.
    void cancel();

Q_SIGNALS:
    void progress(int permille);
    void finished(const IcsImport::Result &result);
    void settled();

private:
    void run(Database *database);

    QString m_path;
    QString m_calendarId;
    IcsImport::Result m_result; // the worker's alone until reported
    std::atomic<bool> m_cancel{false};
    bool m_started = false;
    StoreWorker m_worker; // last: it stops before the rest goes
};
