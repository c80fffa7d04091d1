#include "pagecheck.h"

#include <QFile>

#include <sqlite3.h>

std::unique_ptr<PageCheck> PageCheck::start(const QString &path, Done done)
{
    std::unique_ptr<PageCheck> check(new PageCheck);
    // Full mutex: opened here, checked on its thread, interrupted from here.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &check->m_db, flags, nullptr) != SQLITE_OK
        || sqlite3_exec(check->m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(check->m_db);
        check->m_db = nullptr;
        return nullptr;
    }
    check->m_thread = std::thread(&PageCheck::run, check.get(), std::move(done));
    return check;
}

PageCheck::~PageCheck()
{
    if (!m_db)
        return;
    sqlite3_interrupt(m_db);
    if (m_thread.joinable())
        m_thread.join();
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_db);
}

void PageCheck::run(Done done)
{
    sqlite3_stmt *check = nullptr;
    State state = State::Unfinished;
    QString verdict;
    if (sqlite3_prepare_v2(m_db, "PRAGMA quick_check(1)", -1, &check, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_step(check);
        if (rc == SQLITE_ROW) {
            verdict = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)));
            state = verdict == QLatin1String("ok") ? State::Whole : State::Damaged;
        } else if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB) {
            verdict = QString::fromUtf8(sqlite3_errmsg(m_db));
            state = State::Damaged;
        }
    }
    sqlite3_finalize(check);
    // The writers waiting on the lock go on at once.
    if (state == State::Whole)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_state = state;
    if (state != State::Unfinished)
        done(state, verdict.left(200));
}
