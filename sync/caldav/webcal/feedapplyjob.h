#pragma once

#include "feedreplace.h"
#include "storefailure.h"
#include "storeworker.h"
#include "syncresult.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace Webcal {

// One downloaded feed decoded, read and replaced into its calendar on a
// thread of its own, over its own connection to the database file, so that
// the window keeps answering while a large or hostile feed goes in. A body
// that is no whole calendar (a compressed stream cut off, no VCALENDAR, or
// one that does not end) replaces nothing. Emits finished() or refused()
// once, on the thread of the job. Destroying the job waits for its thread.
class FeedApplyJob : public QObject
{
    Q_OBJECT
public:
    // `coding`: the Content-Encoding, `charset`: the Content-Type's, each
    // empty when the answer named none; `limitBytes`: the most the plain
    // body may hold.
    FeedApplyJob(const QString &databaseFile, const QString &calendarId, const QByteArray &body,
                 const QByteArray &coding, const QByteArray &charset, qint64 limitBytes, QObject *parent = nullptr);
    ~FeedApplyJob() override;

    void start();

Q_SIGNALS:
    // `failure`: why the store did not commit, when it did not.
    void finished(const Webcal::FeedReplaceResult &result, StoreFailure::Kind failure);
    // The body is no whole calendar; the calendar was not touched.
    void refused(const SyncResult &result);

private:
    void run(Database *database);
    // Why the plain body is no whole calendar; nothing when it is one.
    std::optional<SyncResult> refusal(const QByteArray &plain, bool streamEnded) const;

    QString m_calendarId;
    QByteArray m_body;
    QByteArray m_coding;
    QByteArray m_charset;
    qint64 m_limitBytes;
    bool m_started = false;
    StoreWorker m_worker; // last: it stops before the rest goes
};

} // namespace Webcal
