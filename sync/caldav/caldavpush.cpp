#include "caldavpush.h"

#include "caldavitemstore.h"
#include "caldavlog.h"
#include "caldavworkerstore.h"
#include "caldavxml.h"
#include "syncitemproblems.h"
#include "syncresult.h"

#include <QCryptographicHash>

#include <QTimer>

namespace {

// The refused text's identity: DTSTAMP is the time of writing and changes
// with every attempt, the rest only when the item does.
QString digestOf(const QByteArray &body)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QByteArray &line : body.split('\n')) {
        if (!line.startsWith("DTSTAMP"))
            hash.addData(line);
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

CalDavPush::CalDavPush(CalDavClient *client, const QUrl &collection, const QString &calendarName,
                       CalDavItemStore *store, CalDavWorkerStore *worker, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_collection(collection)
    , m_calendarName(calendarName)
    , m_worker(worker)
    , m_store(store)
{
}

void CalDavPush::start(Done done, Fail fail)
{
    m_done = std::move(done);
    m_fail = std::move(fail);
    next();
}

void CalDavPush::next()
{
    QTimer::singleShot(0, this, [this] { pushNext(); });
}

void CalDavPush::pushNext()
{
    if (!m_started) {
        m_started = true;
        if (m_problems)
            m_refused = m_problems->all(SyncItemProblems::Kind::Refused);
        // Read off this thread: finding it walks the calendar's rows.
        m_worker->pendingKeys(m_store->component(), [this](const std::optional<QStringList> &keys) {
            if (!keys) {
                fail(SyncResult::failure(SyncResult::Kind::LocalStore));
                return;
            }
            m_queue = *keys;
            pushNext();
        });
        return;
    }
    if (m_queue.isEmpty()) {
        finish();
        return;
    }
    push(m_queue.takeFirst(), false);
}

void CalDavPush::finish()
{
    if (m_done)
        std::exchange(m_done, {})();
}

void CalDavPush::fail(const SyncResult &result)
{
    if (m_fail)
        std::exchange(m_fail, {})(result);
}

void CalDavPush::storeFailed()
{
    SyncResult result = SyncResult::failure(SyncResult::Kind::LocalStore);
    result.storeFailure = StoreFailure::last();
    fail(result);
}

SyncResult CalDavPush::writeResult(const CalDavClient::Response &response, SyncResult::Step step, const QString &title)
{
    SyncResult result = response.result(step);
    result.subject = title;
    return result;
}

void CalDavPush::refresh(const QString &href, const SyncResult &failure, const std::function<void()> &then)
{
    m_client->report(m_collection, CalDavXml::multigetBody({href}), 1,
                     [this, href, failure, then](const CalDavClient::Response &response) {
        if (!response.isSuccess()) {
            qCWarning(lcCalDav) << "[CalDav] could not fetch the server copy of" << href << "status=" << response.status
                                << response.error;
            fail(failure);
            return;
        }
        m_worker->applyOne(m_store->component(), response.body, href,
                           [this, then](const std::optional<CalDavItemStore::Applied> &applied) {
            if (!applied) {
                fail(SyncResult::failure(SyncResult::Kind::LocalStore));
                return;
            }
            m_store->scheduleChanged();
            // A server copy nobody can read cannot be merged with, and
            // writing against its old ETag only meets the same conflict: the
            // item waits for its next version, counted, and the others go on.
            if (!applied->unreadable.isEmpty()) {
                next();
                return;
            }
            then();
        });
    });
}

bool CalDavPush::wasRefused(const QString &key, const QByteArray &body) const
{
    const auto refused = m_refused.constFind(key);
    if (refused == m_refused.cend() || *refused != digestOf(body))
        return false;
    qCDebug(lcCalDav) << "[CalDav] not sending" << key << "again: the server refused it as it is";
    return true;
}

void CalDavPush::accepted(const QString &key)
{
    if (m_problems && m_refused.remove(key) > 0)
        m_problems->forget(SyncItemProblems::Kind::Refused, key);
}

void CalDavPush::rejected(const QString &key, const QByteArray &body, const QString &href, const SyncResult &result,
                          bool retried)
{
    if (m_problems && result.isRefusal()) {
        qCWarning(lcCalDav) << "[CalDav] the server refused" << key << "with HTTP" << result.status
                            << "- going on with the others";
        const QString digest = digestOf(body);
        m_problems->record(SyncItemProblems::Kind::Refused, key, digest, result.describe());
        m_refused.insert(key, digest);
        next();
        return;
    }
    if (result.hasConflict() && retried) {
        // The server's copy moved once more, or the server will not take
        // this item against any ETag: the item keeps its merged rows and
        // waits, pending, for the next run, and holds back no other.
        qCWarning(lcCalDav) << "[CalDav] Push 412 again for" << key << "- left pending for the next run";
        if (!m_conflict)
            m_conflict = result;
        next();
        return;
    }
    if (!result.hasConflict()) {
        qCWarning(lcCalDav) << "[CalDav] Push HTTP" << result.status << "for" << key;
        fail(result);
        return;
    }
    qCInfo(lcCalDav) << "[CalDav] Push 412 for" << key << "- fetching the server copy";
    refresh(href, result, [this, key] { push(key, true); });
}
