#pragma once

#include "caldavclient.h"
#include "caldavitemstore.h"
#include "caldavparse.h"
#include "calendar.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class CalDavEventStore;
class CalDavTaskStore;
class CalDavWorkerStore;
class CalendarRepository;
class Database;
class EventRepository;
class SyncItemProblems;
class TaskRepository;
namespace Sync {
class ConflictResolutionService;
}

// The repositories a sync run writes through, and where it records the
// changes of both sides to one property.
struct CalDavSyncStores
{
    Database *database = nullptr;
    CalendarRepository *calendars = nullptr;
    EventRepository *events = nullptr;
    TaskRepository *tasks = nullptr;
    Sync::ConflictResolutionService *conflicts = nullptr;
};

// One calendar's sync run: the collection's change markers (ctag and
// sync-token); when they moved, the events and then the to-dos are listed
// with their ETags, the changed ones fetched by multiget, and rows the server
// no longer lists dropped, all of it read and written off the window's
// thread (see CalDavWorkerStore), the views told after each step; then the
// local changes are pushed, events first. An object that cannot be read is
// skipped and not fetched again while its ETag stays; a write the server
// refuses marks its item (see CalDavPush). Reports through exactly one of
// completed() (with the number of rows written) and failed(), then deletes
// itself (with its HTTP client). An item the server answers 412 twice, and a
// listing the server cut short, hold back nothing else: the run syncs the
// rest and then fails with that 412 (see CalDavPush), or else with
// Kind::IncompleteListing.
class CalDavSyncRun : public QObject
{
    Q_OBJECT
public:
    // Objects per multiget: bounds the request and what one answer holds.
    static constexpr int kMultigetBatch = 100;

    CalDavSyncRun(const CalDavSyncStores &stores, const Calendar &calendar, const QString &userName,
                  const QString &password, const QString &pinnedSha256, QObject *parent);
    ~CalDavSyncRun() override;

    // For the HTTP client's requests; see CalDavClient.
    void setTimeouts(int transferMs, int deadlineMs);
    void start();

Q_SIGNALS:
    void progress(const QString &calendarId, int count);
    void completed(const QString &calendarId, int count);
    void failed(const QString &calendarId, const SyncResult &result);
    void untrustedCertEncountered(const QString &calendarId, const UntrustedCertInfo &info);

private:
    struct Pull
    {
        CalDavItemStore *store = nullptr;
        CalDavItemStore::Applied applied;
        bool complete = true; // every changed object fetched and applied
        bool cutShort = false; // the server's listing said it left objects out
        int unfetched = 0; // changed objects the server did not send
    };
    using ListingFailed = std::function<void(const CalDavClient::Response &)>;

    void onMarkers(const CalDavClient::Response &response);
    void runPull();
    // The collection's objects of one component with their ETags; the
    // changed ones are fetched, unlisted rows dropped after a whole listing.
    void listCollection(Pull *pull, const ListingFailed &listingFailed, const std::function<void()> &next);
    // Multigets of kMultigetBatch objects, each answer written before the next.
    void fetchChanged(Pull *pull, QStringList hrefs, const std::function<void()> &next);
    // The worker could not reach the database file, or met a failure of the
    // store that no retry of a row cures.
    bool storeBroke() const;
    void storeFailed();
    void runTaskPull();
    // Keeps the markers when `markersKnown`; the calendar's last sync error
    // names the objects this run could not bring in. False when the store
    // refused the row: the run has failed.
    bool saveCalendar(bool markersKnown);
    bool storeCalendar(const Calendar &updated);
    // "%n item(s) could not be synced", or empty.
    QString problemText() const;
    void runPush();
    void runTaskPush();
    void fail(const SyncResult &result);
    void finish();
    bool holdsTasks() const;

    CalDavSyncStores m_stores;
    Calendar m_calendar;
    QUrl m_url;
    CalDavClient *m_client;
    std::unique_ptr<CalDavEventStore> m_eventStore;
    std::unique_ptr<CalDavTaskStore> m_taskStore;
    std::unique_ptr<SyncItemProblems> m_problems;
    std::unique_ptr<CalDavWorkerStore> m_worker;
    Pull m_events;
    Pull m_tasks;
    std::optional<QString> m_ctag;
    std::optional<QString> m_syncToken;
    std::optional<SyncResult> m_conflict; // the first item left pending after a second 412
    bool m_done = false;
};
