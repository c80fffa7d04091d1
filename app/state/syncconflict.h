#pragma once

#include "event.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

// An event changed here and still waiting to be pushed while the server sent
// another version of it.
struct SyncConflict
{
    QString id; // UUID text without braces, made when recorded
    Event local;
    Event remote;
    QDateTime detectedAt; // UTC

    friend bool operator==(const SyncConflict &a, const SyncConflict &b)
    {
        return a.id == b.id && a.local == b.local && a.remote == b.remote && a.detectedAt == b.detectedAt;
    }
    friend bool operator!=(const SyncConflict &a, const SyncConflict &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(SyncConflict)
