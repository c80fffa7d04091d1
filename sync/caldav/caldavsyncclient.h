#pragma once

#include "calendar.h"
#include "syncresult.h"
#include "untrustedcertinfo.h"

#include <QObject>
#include <QString>

class AppState;

// Brings CalDAV calendar collections and their local rows into step, events
// and to-dos both. One client may run several calendars at once; each run
// lives on its own (with its own HTTP client) and shares nothing but the
// database. The caller owns the client and deletes it once every calendar it
// started has reported.
//
// After calendarSyncStarted exactly one of calendarSyncCompleted and
// calendarSyncFailed follows for that calendar and run.
class CalDavSyncClient : public QObject
{
    Q_OBJECT
public:
    explicit CalDavSyncClient(AppState *appState, QObject *parent = nullptr);

    // Starts a run for `calendar` (taken as it is now) and returns at once.
    // `pinnedSha256` is the account's trusted certificate fingerprint.
    void syncCalendar(const Calendar &calendar, const QString &userName, const QString &password,
                      const QString &pinnedSha256);
    // For the runs started from now on: how long a request may stay silent
    // and how long it may take in all (see CalDavClient).
    void setTimeouts(int transferMs, int deadlineMs);

Q_SIGNALS:
    void calendarSyncStarted(const QString &calendarId);
    // `eventCount`: events and to-dos written from the server's copies.
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const SyncResult &result);
    // Every 25 events read in one run.
    void calendarSyncProgress(const QString &calendarId, int count);
    // The server's certificate did not verify and is not the pinned one; the
    // run fails with a network error. Offer it for trust and sync again.
    void untrustedCertEncountered(const QString &calendarId, const UntrustedCertInfo &info);

private:
    AppState *m_appState;
    int m_transferTimeoutMs;
    int m_requestDeadlineMs;
};
