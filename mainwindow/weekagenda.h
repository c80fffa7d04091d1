#pragma once

#include "recurringeditscope.h"
#include "weekrows.h"

#include <QDate>
#include <QHash>
#include <QWidget>

#include <atomic>
#include <memory>

class AgendaTaskList;
class AppState;
class EventRepository;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class StoreWorker;

// The occurrences of the week around AppState's current date, day by day,
// from the calendars of the active calendar group after the filter rules.
// Rows carry the event id (Qt::UserRole) and the day they are listed under
// (Qt::UserRole + 1) and the occurrence itself (Qt::UserRole + 2); selecting one selects the event in AppState.
// A click (or Enter) on a row opens that occurrence's details beside it,
// whose Edit is handed on through editRequested and whose Delete acts itself.
// A day lists its first 100 occurrences and then a row that says how many
// more there are (a series of every second has 86,400 a day).
// A week is read on a thread of its own and shown when its lines come back
// (but a light week listed before and barely changed since, which is read at
// once); the accessors below show it at once when asked for before that.
class WeekAgenda : public QWidget
{
    Q_OBJECT
public:
    // AfterShown: the first load waits until the widget is first drawn and
    // runs in the next turn of the event loop, so that a window appears before
    // its data is read (or at once when list() is asked for first).
    enum class FirstLoad { Now, AfterShown };
    explicit WeekAgenda(AppState *state, QWidget *parent = nullptr, FirstLoad firstLoad = FirstLoad::Now);
    ~WeekAgenda() override;

    QDate weekStart() const
    {
        ensureLoaded();
        return m_weekStart;
    }
    QListWidget *list() const
    {
        ensureLoaded();
        return m_list;
    }
    // The tasks due in the week, in a list of their own below the events.
    AgendaTaskList *tasks() const
    {
        ensureLoaded();
        return m_tasks;
    }

    // Reads the current week again; it replaces the list when read.
    void reload();
    // The context menu of an event row (filter actions); nullptr for other
    // rows. The caller owns the menu.
    QMenu *contextMenuFor(QListWidgetItem *item);

Q_SIGNALS:
    // From a row's details: `occurrence` is the one shown.
    void editRequested(const Event &occurrence, RecurringEditScope scope);
    // The list holds the lines of the week starting on `weekStart`.
    void weekShown(const QDate &weekStart);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void ensureLoaded() const;
    void loadNow(const WeekRows::Request &request);
    WeekRows::Request readRequest() const;
    void showWeek(const WeekRows &week);
    Event fullRecord(const QListWidgetItem *item) const;
    void showDetails(QListWidgetItem *item);
    void selectEvent(const QString &eventId);
    void onCurrentItemChanged(QListWidgetItem *item);
    void showContextMenu(const QPoint &pos);

    AppState *m_state;
    QLabel *m_title;
    QListWidget *m_list;
    AgendaTaskList *m_tasks;
    QDate m_weekStart;
    // Weeks listed before, as read then; see reload.
    struct KnownWeek
    {
        QStringList calendarIds;
        qsizetype work = 0;
        qint64 changes = 0;
    };
    QHash<QDate, KnownWeek> m_knownWeeks;
    bool m_reloading = false;
    bool m_pendingLoad = false;
    bool m_loadQueued = false;
    bool m_readUnderWay = false;
    quint64 m_generation = 0; // of the last read asked for
    std::atomic<quint64> m_latestRead{0}; // the same, for the worker
    std::unique_ptr<EventRepository> m_workerEvents; // the worker's alone
    std::unique_ptr<StoreWorker> m_worker; // made with the first read; stops before the rest goes
};
