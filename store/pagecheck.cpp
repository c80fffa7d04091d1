#include "pagecheck.h"

#include "storesql.h"

#include <QFile>
#include <QFileInfo>

#include <condition_variable>
#include <map>
#include <mutex>

#include <sqlite3.h>

// One file's checks: those running, and those alive that found damage.
struct PageCheck::Gate
{
    int running = 0;
    int damaged = 0;
    std::atomic<bool> closed{false};

    void update() { closed = running > 0 || damaged > 0; }
};

namespace {

std::mutex gateMutex;
std::condition_variable gateSettled;

} // namespace

struct PageCheck::ConnectionGate
{
    Gate *gate = nullptr;
    int timeoutMs = 0;
};

int PageCheck::commitGate(void *connection)
{
    Gate *gate = static_cast<ConnectionGate *>(connection)->gate;
    if (!gate->closed)
        return 0;
    std::unique_lock<std::mutex> lock(gateMutex);
    gateSettled.wait(lock, [gate] { return gate->running == 0; });
    return gate->damaged == 0 ? 0 : 1;
}

int PageCheck::busyWait(void *opaque, int count)
{
    const auto *connection = static_cast<ConnectionGate *>(opaque);
    Gate *gate = connection->gate;
    if (gate->closed) {
        std::unique_lock<std::mutex> lock(gateMutex);
        if (gate->running > 0) {
            gateSettled.wait(lock, [gate] { return gate->running == 0; });
            return 1;
        }
    }
    // As the connection's own busy time-out would.
    constexpr int kStepMs = 10;
    if (count * kStepMs >= connection->timeoutMs)
        return 0;
    sqlite3_sleep(kStepMs);
    return 1;
}

PageCheck::Gate *PageCheck::gateOf(const QString &path)
{
    // A handful of files in a process's life; the gates stay.
    static std::map<QString, std::unique_ptr<Gate>> gates;
    const std::lock_guard<std::mutex> lock(gateMutex);
    std::unique_ptr<Gate> &gate = gates[QFileInfo(path).absoluteFilePath()];
    if (!gate)
        gate = std::make_unique<Gate>();
    return gate.get();
}

std::shared_ptr<PageCheck::ConnectionGate> PageCheck::installCommitGate(sqlite3 *db, const QString &path)
{
    auto connection = std::make_shared<ConnectionGate>();
    connection->gate = gateOf(path);
    // The time-out the connection was opened with, which the handler below
    // takes over from SQLite's own.
    sqlite3_stmt *timeout = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA busy_timeout", -1, &timeout, nullptr) == SQLITE_OK
        && sqlite3_step(timeout) == SQLITE_ROW)
        connection->timeoutMs = sqlite3_column_int(timeout, 0);
    sqlite3_finalize(timeout);
    sqlite3_busy_handler(db, busyWait, connection.get());
    sqlite3_commit_hook(db, commitGate, connection.get());
    return connection;
}

std::unique_ptr<PageCheck> PageCheck::start(const QString &path, Done done)
{
    std::unique_ptr<PageCheck> check(new PageCheck);
    // Full mutex: opened here, checked on its thread, interrupted from here.
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &check->m_db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(check->m_db);
        check->m_db = nullptr;
        return nullptr;
    }
    // Another connection's lock (a checkpoint under way) is waited for.
    sqlite3_busy_timeout(check->m_db, 5000);
    check->m_gate = gateOf(path);
    {
        const std::lock_guard<std::mutex> lock(gateMutex);
        ++check->m_gate->running;
        check->m_gate->update();
    }
    // An interrupt before the check's statement starts is lost: the check
    // looks at its flag as it goes instead.
    sqlite3_progress_handler(
        check->m_db, 1000, [](void *stopping) { return static_cast<std::atomic<bool> *>(stopping)->load() ? 1 : 0; },
        &check->m_stopping);
    check->m_thread = std::thread(&PageCheck::run, check.get(), std::move(done));
    return check;
}

PageCheck::~PageCheck()
{
    if (!m_db)
        return;
    m_stopping = true;
    sqlite3_interrupt(m_db);
    if (m_thread.joinable())
        m_thread.join();
    sqlite3_close(m_db);
    const std::lock_guard<std::mutex> lock(gateMutex);
    if (m_state == State::Damaged)
        --m_gate->damaged;
    m_gate->update();
    gateSettled.notify_all();
}

void PageCheck::settle(State state)
{
    const std::lock_guard<std::mutex> lock(gateMutex);
    m_state = state;
    --m_gate->running;
    if (state == State::Damaged)
        ++m_gate->damaged;
    m_gate->update();
    gateSettled.notify_all();
}

void PageCheck::run(Done done)
{
    sqlite3_stmt *check = nullptr;
    State state = State::Unfinished;
    QString verdict;
    const int rc = sqlite3_prepare_v2(m_db, "PRAGMA quick_check(1)", -1, &check, nullptr) == SQLITE_OK
        ? sqlite3_step(check)
        : sqlite3_errcode(m_db);
    if (rc == SQLITE_ROW) {
        verdict = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)));
        state = verdict == QLatin1String("ok") ? State::Whole : State::Damaged;
    } else if (!m_stopping) {
        verdict = QString::fromUtf8(sqlite3_errmsg(m_db));
        // A file the check cannot read (a bad sector, damage it stops at) is
        // no file to write to either. Anything else (a lock held past the
        // wait) leaves it unchecked, and checked at the next start.
        const int primary = sqlite3_extended_errcode(m_db) & 0xff;
        if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB || primary == SQLITE_IOERR)
            state = State::Damaged;
        else
            qCWarning(lcStore).noquote() << "The database's pages could not be checked:" << verdict;
    }
    sqlite3_finalize(check);
    settle(state);
    if (state != State::Unfinished)
        done(state, verdict.left(200));
}
