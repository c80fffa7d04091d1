#pragma once

#include "recurringeditscope.h"

#include <QDate>
#include <QWidget>

class AgendaTaskList;
class AppState;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
struct Event;

// The occurrences of the week around AppState's current date, day by day,
// from the calendars of the active calendar group after the filter rules.
// Rows carry the event id (Qt::UserRole) and the day they are listed under
// (Qt::UserRole + 1) and the occurrence itself (Qt::UserRole + 2); selecting one selects the event in AppState.
// A click (or Enter) on a row opens that occurrence's details beside it,
// whose Edit is handed on through editRequested and whose Delete acts itself.
// A day lists its first 100 occurrences and then a row that says how many
// more there are (a series of every second has 86,400 a day).
class WeekAgenda : public QWidget
{
    Q_OBJECT
public:
    // AfterShown: the first load waits until the widget is first drawn and
    // runs in the next turn of the event loop, so that a window appears before
    // its data is read (or at once when list() is asked for first).
    enum class FirstLoad { Now, AfterShown };
    explicit WeekAgenda(AppState *state, QWidget *parent = nullptr, FirstLoad firstLoad = FirstLoad::Now);

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

    void reload();
    // The context menu of an event row (filter actions); nullptr for other
    // rows. The caller owns the menu.
    QMenu *contextMenuFor(QListWidgetItem *item);

Q_SIGNALS:
    // From a row's details: `occurrence` is the one shown.
    void editRequested(const Event &occurrence, RecurringEditScope scope);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void ensureLoaded() const;
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
    bool m_reloading = false;
    bool m_pendingLoad = false;
    bool m_loadQueued = false;
};
