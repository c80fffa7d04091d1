#include "storefailure.h"

#include <QSqlError>

#include <sqlite3.h>

#include <atomic>

namespace {

thread_local StoreFailure::Kind t_last = StoreFailure::None;
std::atomic<bool> s_ioSeen{false};

} // namespace

StoreFailure::Kind StoreFailure::fromSqliteCode(int code)
{
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return None;
    case SQLITE_CONSTRAINT:
    case SQLITE_MISMATCH:
    case SQLITE_TOOBIG: return Refused;
    case SQLITE_FULL: return DiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN: return ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Locked;
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_NOMEM: return Io;
    default: return Other;
    }
}

StoreFailure::Kind StoreFailure::fromError(const QSqlError &error)
{
    if (error.type() == QSqlError::NoError)
        return None;
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    return numeric ? fromSqliteCode(code) : Other;
}

void StoreFailure::clear()
{
    t_last = None;
}

void StoreFailure::note(Kind kind)
{
    if (kind != None)
        t_last = kind;
    if (kind == Io)
        s_ioSeen.store(true);
}

StoreFailure::Kind StoreFailure::last()
{
    return t_last;
}

bool StoreFailure::ioSeen()
{
    return s_ioSeen.load();
}
