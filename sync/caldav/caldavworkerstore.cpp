#include "caldavworkerstore.h"

#include "caldaveventstore.h"
#include "caldavlog.h"
#include "caldavtaskstore.h"
#include "eventrepository.h"
#include "syncitemproblems.h"
#include "taskrepository.h"

#include <QElapsedTimer>
#include <QObject>
#include <QThread>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Objects of one resource written between two looks at the clock.
constexpr qsizetype kObjectsPerLook = 10;

// The store of `component` over the worker's connection, for one step.
template<typename Work>
void withStore(Database *database, const QString &calendarId, const QString &component, Work &&work)
{
    if (component == u"VTODO"_s) {
        TaskRepository tasks(database);
        CalDavTaskStore store(database, &tasks, calendarId);
        work(static_cast<CalDavItemStore &>(store));
    } else {
        EventRepository events(database);
        CalDavEventStore store(database, &events, calendarId);
        work(static_cast<CalDavItemStore &>(store));
    }
}

void recordUnreadable(SyncItemProblems &problems, const QString &component, const CalDavItemStore::Applied &applied)
{
    for (const auto &[href, etag] : applied.unreadable)
        problems.record(SyncItemProblems::Kind::Unreadable, CalDavWorkerStore::unreadableKey(component, href), etag, {});
}

} // namespace

CalDavWorkerStore::CalDavWorkerStore(const QString &databaseFile, const QString &calendarId, const QUrl &collection,
                                     QObject *context)
    : m_calendarId(calendarId)
    , m_collection(collection)
    , m_context(context)
    , m_worker(databaseFile, u"caldav"_s)
{
}

QString CalDavWorkerStore::unreadableKey(const QString &component, const QString &href)
{
    return component + QLatin1Char(' ') + href;
}

template<typename Result>
void CalDavWorkerStore::post(std::function<std::optional<Result>(Database *)> work, std::function<void(std::optional<Result>)> done)
{
    m_worker.post([this, work = std::move(work), done = std::move(done), context = m_context](Database *database) {
        std::optional<Result> result;
        StoreFailure::clear();
        if (database)
            result = work(database);
        const StoreFailure::Kind failure = StoreFailure::last();
        if (failure == StoreFailure::DiskFull || failure == StoreFailure::ReadOnly || failure == StoreFailure::Io) {
            StoreFailure::Kind none = StoreFailure::None;
            m_storeFailure.compare_exchange_strong(none, failure);
        }
        QMetaObject::invokeMethod(context, [done, result = std::move(result)] { done(result); }, Qt::QueuedConnection);
    });
}

void CalDavWorkerStore::compare(const QString &component, const QByteArray &listing,
                                std::function<void(std::optional<Listing>)> done)
{
    post<Listing>(
        [this, component, listing](Database *database) {
        Listing out;
        QStringList foreign;
        const QList<CalDavParse::Resource> resources =
            CalDavParse::parseResources(listing, m_collection, &out.whole, &foreign);
        SyncItemProblems problems(database, m_calendarId);
        const QHash<QString, QString> unreadable = problems.all(SyncItemProblems::Kind::Unreadable);
        // An href outside the collection may be another calendar of the
        // user's: it is neither fetched, stored nor written to, only named
        // as a problem of this calendar. Listed under its whole URL, which
        // no row's href equals: rows stored there earlier go, its record stays.
        for (const QString &url : std::as_const(foreign)) {
            const QString key = unreadableKey(component, url);
            out.listed.insert(url);
            if (!unreadable.contains(key)) {
                qCWarning(lcCalDav) << "[CalDav] calendar" << m_calendarId << "lists a resource outside it";
                problems.record(SyncItemProblems::Kind::Unreadable, key, u""_s, u"outside the collection"_s);
            }
        }
        // A listing of nothing but addresses outside the collection tells how
        // the server names it (a proxy rewriting its host, say), not what it
        // holds: nothing here is removed on its word.
        if (resources.isEmpty() && !foreign.isEmpty())
            out.whole = false;
        QHash<QString, QSet<QString>> stored;
        withStore(database, m_calendarId, component, [&](CalDavItemStore &store) { stored = store.storedEtags(); });
        for (const CalDavParse::Resource &resource : resources) {
            if (resource.href.isEmpty() || out.listed.contains(resource.href))
                continue;
            out.listed.insert(resource.href);
            // Same ETag: the object is as this side last saw it.
            const auto known = stored.constFind(resource.href);
            if (!resource.etag.isEmpty() && known != stored.cend() && *known == QSet<QString>{resource.etag})
                continue;
            // Could not be read in this version; its next one is fetched.
            const auto bad = unreadable.constFind(unreadableKey(component, resource.href));
            if (bad != unreadable.cend()) {
                if (!resource.etag.isEmpty() && *bad == resource.etag)
                    continue;
                problems.forget(SyncItemProblems::Kind::Unreadable, bad.key());
            }
            out.changed.append(resource.href);
        }
        return out;
        },
        std::move(done));
}

void CalDavWorkerStore::apply(const QString &component, const QByteArray &answer,
                              std::function<void(std::optional<Answer>)> done)
{
    post<Answer>(
        [this, component, answer](Database *database) {
        Answer out;
        const QList<CalDavItemStore::Fetched> fetched
            = CalDavItemStore::read(component, CalDavParse::parseResources(answer, m_collection));
        for (const CalDavItemStore::Fetched &one : fetched)
            out.filled.insert(one.resource.href);
        SyncItemProblems problems(database, m_calendarId);
        withStore(database, m_calendarId, component, [&](CalDavItemStore &store) {
            qsizetype resource = 0;
            qsizetype object = 0;
            while (resource < fetched.size() && !m_worker.stopping()) {
                QElapsedTimer clock;
                clock.start();
                CalDavItemStore::Applied slice;
                const bool kept = store.inTransaction([&] {
                    do {
                        const CalDavItemStore::Fetched &one = fetched.at(resource);
                        const CalDavItemStore::Applied part = store.applyObjects(one, object, kObjectsPerLook);
                        slice.add(part);
                        object += kObjectsPerLook;
                        if (object >= CalDavItemStore::objectCount(one)) {
                            ++resource;
                            object = 0;
                        }
                    } while (resource < fetched.size() && clock.elapsed() < kTransactionMs);
                });
                if (!kept) {
                    // Nothing of it stands, nor of what follows: the run
                    // must not pass for complete.
                    int left = 0;
                    for (qsizetype i = resource; i < fetched.size(); ++i)
                        left += int(CalDavItemStore::objectCount(fetched.at(i)));
                    out.applied.failed += std::max(1, slice.parsed + left);
                    break;
                }
                out.applied.add(slice);
                recordUnreadable(problems, component, slice);
                // A write of the window waits in SQLite's busy handler, which
                // looks again after growing pauses: leave it room to get in.
                if (resource < fetched.size())
                    QThread::msleep(std::max<qint64>(1, clock.elapsed() / 4));
            }
        });
        return out;
        },
        std::move(done));
}

void CalDavWorkerStore::dropUnlisted(const QString &component, const QSet<QString> &listed,
                                     std::function<void(std::optional<int>)> done)
{
    post<int>(
        [this, component, listed](Database *database) -> std::optional<int> {
        int dropped = 0;
        bool kept = false;
        withStore(database, m_calendarId, component, [&](CalDavItemStore &store) {
            kept = store.inTransaction([&] { dropped = store.dropUnlisted(listed); });
        });
        if (!kept)
            return std::nullopt;
        SyncItemProblems problems(database, m_calendarId);
        const QString prefix = unreadableKey(component, {});
        const QList<QString> keys = problems.all(SyncItemProblems::Kind::Unreadable).keys();
        for (const QString &key : keys) {
            if (key.startsWith(prefix) && !listed.contains(key.mid(prefix.size())))
                problems.forget(SyncItemProblems::Kind::Unreadable, key);
        }
        return dropped;
        },
        std::move(done));
}

void CalDavWorkerStore::applyOne(const QString &component, const QByteArray &answer, const QString &href,
                                 std::function<void(std::optional<CalDavItemStore::Applied>)> done)
{
    post<CalDavItemStore::Applied>(
        [this, component, answer, href](Database *database) {
        QList<CalDavParse::Resource> resources = CalDavParse::parseResources(answer, m_collection);
        resources.removeIf(
            [&href](const CalDavParse::Resource &r) { return r.href != href || r.calendarData.isEmpty(); });
        CalDavItemStore::Applied applied;
        withStore(database, m_calendarId, component, [&](CalDavItemStore &store) {
            const bool kept = store.inTransaction([&] {
                if (resources.isEmpty())
                    store.dropResource(href);
                else
                    applied = store.apply(resources);
            });
            if (!kept)
                applied = {0, 0, std::max(1, int(resources.size())), {}};
        });
        SyncItemProblems problems(database, m_calendarId);
        recordUnreadable(problems, component, applied);
        return applied;
        },
        std::move(done));
}

void CalDavWorkerStore::pendingKeys(const QString &component, std::function<void(std::optional<QStringList>)> done)
{
    post<QStringList>(
        [this, component](Database *database) {
        QStringList keys;
        withStore(database, m_calendarId, component, [&](CalDavItemStore &store) { keys = store.pendingKeys(); });
        return keys;
        },
        std::move(done));
}

void CalDavWorkerStore::serverCopy(const QString &component, const QString &href, const QString &etag,
                                   std::function<void(std::optional<ServerCopy>)> done)
{
    post<ServerCopy>(
        [this, component, href, etag](Database *database) -> std::optional<ServerCopy> {
        std::optional<CalDavItemStore::ResourceTexts> texts;
        withStore(database, m_calendarId, component, [&](CalDavItemStore &store) { texts = store.texts(href); });
        if (!texts || texts->server.isEmpty() || texts->serverEtag != etag)
            return std::nullopt;
        const auto read = [&](const QString &text) {
            const QList<CalDavItemStore::Fetched> fetched = CalDavItemStore::read(component, {{href, etag, text}});
            return fetched.isEmpty() ? CalDavItemStore::Fetched() : fetched.first();
        };
        return ServerCopy{read(texts->base), read(texts->server)};
        },
        std::move(done));
}
