#pragma once

#include <QCoreApplication>
#include <QString>

// The user-visible texts of a sync run belong to CalDavSyncClient, whatever
// part of the run words them.
inline QString syncText(const char *text)
{
    return QCoreApplication::translate("CalDavSyncClient", text);
}
