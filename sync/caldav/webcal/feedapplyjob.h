#pragma once

#include "feedreplace.h"
#include "storefailure.h"
#include "storeworker.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace Webcal {

// One downloaded feed decoded, read and replaced into its calendar on a
// thread of its own, over its own connection to the database file, so that
// the window keeps answering while a large or hostile feed goes in. Emits
// finished() once, on the thread of the job. Destroying the job waits for
// its thread.
class FeedApplyJob : public QObject
{
    Q_OBJECT
public:
    // `charset`: the Content-Type's, empty when it named none.
    FeedApplyJob(const QString &databaseFile, const QString &calendarId, const QByteArray &body,
                 const QByteArray &charset, QObject *parent = nullptr);
    ~FeedApplyJob() override;

    void start();

Q_SIGNALS:
    // `failure`: why the store did not commit, when it did not.
    void finished(const Webcal::FeedReplaceResult &result, StoreFailure::Kind failure);

private:
    void run(Database *database);

    QString m_calendarId;
    QByteArray m_body;
    QByteArray m_charset;
    bool m_started = false;
    StoreWorker m_worker; // last: it stops before the rest goes
};

} // namespace Webcal
