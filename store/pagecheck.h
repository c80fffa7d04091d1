#pragma once

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

struct sqlite3;

// The page check of a database file (SQLite's quick_check) run on a thread
// of its own, so that a large file does not hold up the start. While it runs,
// commits on the process's connections to that file wait for its verdict
// (their commit gate), and once it found damage they are refused: the file
// gets nothing written until its pages are known whole, and readers go on
// meanwhile.
class PageCheck
{
public:
    // Damaged: the check found damage, or could not read the file.
    enum class State { Running, Whole, Damaged, Unfinished };
    // Called once, on the checking thread, with the verdict.
    using Done = std::function<void(State state, const QString &verdict)>;

    // Null when the file does not open.
    static std::unique_ptr<PageCheck> start(const QString &path, Done done);
    // Stops a check under way (its state becomes Unfinished) and waits for
    // its thread; commits go on again.
    ~PageCheck();

    State state() const { return m_state.load(); }

    // Makes the connection `db` to the file `path` wait, at each commit,
    // while that file's pages are checked, and refuse to commit while a
    // check that found damage in it is alive. Its wait for another
    // connection's lock lasts, while a check runs, until the verdict (the
    // holder may be waiting for it), and otherwise as long as the
    // connection's busy time-out. What it returns is the connection's state
    // of it: kept until the connection is closed.
    struct ConnectionGate;
    static std::shared_ptr<ConnectionGate> installCommitGate(sqlite3 *db, const QString &path);

private:
    struct Gate;
    PageCheck() = default;
    static Gate *gateOf(const QString &path);
    static int commitGate(void *connection);
    static int busyWait(void *connection, int count);
    void run(Done done);
    void settle(State state);

    Gate *m_gate = nullptr;
    sqlite3 *m_db = nullptr;
    std::atomic<State> m_state{State::Running};
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
