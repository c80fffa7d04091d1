#pragma once

class QSqlError;

// Why a write to the store failed, in the terms a user can act on: free some
// disk space, fix the file's permissions, close the other program. The store
// notes the kind of every failed statement on the calling thread (each
// thread has its own connection), so a caller that got `false` from a
// repository can ask why after the repository rolled its savepoint back.
class StoreFailure
{
public:
    enum Kind {
        None,
        Refused, // a constraint of the schema: the row, not the store
        DiskFull,
        ReadOnly,
        Locked, // another connection held the lock past the wait
        Io, // the disk or the file failed, or memory ran out
        Other,
    };

    // SQLite's result code, primary or extended.
    static Kind fromSqliteCode(int code);
    // The driver's error of a QSqlQuery or QSqlDatabase; None when it is none.
    static Kind fromError(const QSqlError &error);

    // Forgets the last failure of this thread; call before a write whose
    // failure you mean to explain.
    static void clear();
    // Remembers `kind` as this thread's last failure (None is ignored).
    static void note(Kind kind);
    // The last failure noted on this thread since clear().
    static Kind last();
    // Whether any thread of the process noted an Io failure: the file may
    // be damaged.
    static bool ioSeen();
};
