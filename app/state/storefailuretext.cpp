#include "storefailuretext.h"

#include "appstate.h"
#include "storefailure.h"

#include <QCoreApplication>

namespace StoreFailureText {

QString lastFailure()
{
    switch (StoreFailure::last()) {
    case StoreFailure::DiskFull:
        return QCoreApplication::translate("StoreFailureText", "could not save: the disk is full");
    case StoreFailure::ReadOnly:
        return QCoreApplication::translate("StoreFailureText", "could not save: the calendar database is read-only");
    case StoreFailure::Locked:
        return QCoreApplication::translate("StoreFailureText",
                                           "could not save: the calendar database is locked by another program");
    case StoreFailure::None:
    case StoreFailure::Refused:
    case StoreFailure::Io:
    case StoreFailure::Other: break;
    }
    return QString();
}

QString importRunning(const AppState *state)
{
    if (!state || !state->isImportRunning())
        return QString();
    return QCoreApplication::translate("StoreFailureText",
                                       "could not save: an import is running; try again when it has finished");
}

} // namespace StoreFailureText
