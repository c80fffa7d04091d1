#pragma once

#include "syncitemproblems.h"

#include <QByteArray>
#include <QHash>
#include <QString>

class AppState;
class Database;

// The items of a provider calendar that its sync leaves behind, kept like
// the CalDAV sync's per-item problems: rows whose write the server refused
// for good (400, 403, a 404 on an update) or that the provider cannot hold
// as they are (a rule it cannot express), kept with a digest of what was to
// be sent and why; and server items that could not be stored, kept with
// their version. A refused row is not sent again until it changes. The
// calendar then says how many items could not be synced.
class ProviderProblems
{
public:
    ProviderProblems(AppState *appState, const QString &calendarId);
    // Over another connection (a worker's), for the pull's records only:
    // publish() needs the application's.
    ProviderProblems(Database *database, const QString &calendarId);

    // Row `localId` was refused as `body` before.
    bool wasRefused(const QString &localId, const QByteArray &body) const;
    void refuse(const QString &localId, const QByteArray &body, const QString &detail);
    // The write of row `localId` went through, or the row is gone.
    void accepted(const QString &localId);

    // The server's item `providerId` in `version` could not be stored.
    void unreadable(const QString &providerId, const QString &version, const QString &detail);
    void readable(const QString &providerId);
    // Server items recorded as unreadable, with the version met.
    QHash<QString, QString> unreadableItems() const { return m_problems.all(SyncItemProblems::Kind::Unreadable); }

    // Stores on the calendar, for the status to show, the items this run
    // left behind: `leftThisRun` besides those recorded. Rows recorded that
    // are gone meanwhile are forgotten first. False when the store refused
    // the calendar's row (StoreFailure::last() says why).
    bool publish(int leftThisRun);

    // "%n item(s) could not be synced", empty for none.
    static QString text(int count);

private:
    AppState *m_appState = nullptr;
    QString m_calendarId;
    SyncItemProblems m_problems;
    QHash<QString, QString> m_refused; // row id -> digest of the refused body
};
