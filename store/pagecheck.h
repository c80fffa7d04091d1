#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

struct sqlite3;

// The page check of a database file (SQLite's quick_check) run on a thread
// of its own, so that a large file does not hold up the start. It holds the
// file's write lock from start() until the pages are found whole: other
// connections read meanwhile, and their writes wait for it, so nothing is
// written to a damaged file. Found damaged, the lock stays until the check
// is destroyed.
class PageCheck
{
public:
    enum class State { Running, Whole, Damaged, Unfinished };
    // Called once, on the checking thread, with the verdict.
    using Done = std::function<void(State state, const QString &verdict)>;

    // Null when the file's write lock cannot be taken now (another
    // connection holds it) or the file does not open.
    static std::unique_ptr<PageCheck> start(const QString &path, Done done);
    // Stops a check under way (its state becomes Unfinished) and waits for
    // its thread; releases the lock.
    ~PageCheck();

    State state() const { return m_state.load(); }

private:
    PageCheck() = default;
    void run(Done done);

    sqlite3 *m_db = nullptr;
    std::atomic<State> m_state{State::Running};
    std::thread m_thread;
};
