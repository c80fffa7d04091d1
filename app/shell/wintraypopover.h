#pragma once

#include "clock.h"
#include "event.h"

#include <QDate>
#include <QFrame>
#include <QHash>
#include <QString>

#include <optional>

class AppState;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTimer;
class QToolButton;

// The small window above the tray icon: today's date and time, the next
// event in a card with a live countdown, today's and tomorrow's events, the
// calendar group chooser, a one-line quick add with a preview, and buttons
// for the main window, a sync and the preferences.
//
// A Qt::Popup: Qt closes it on a click outside. Card and list are rebuilt on
// every opening and on every change of events, calendars, filter rules and
// groups; while shown, a 30 s timer rewrites only the clock and countdown.
// Its parts carry object names ("headerLabel", "nextEventCard", "list",
// "quickAddEdit", ...) for the style sheet.
class WinTrayPopover : public QFrame
{
    Q_OBJECT
public:
    // Item data of the list, relative to Qt::UserRole.
    enum Role {
        DateRole = Qt::UserRole + 1, // event rows: the day the occurrence starts
        SectionHeaderRole = Qt::UserRole + 2, // section headers: true
        EventIdRole = Qt::UserRole + 3, // event rows: the event id
    };

    WinTrayPopover(AppState *state, QWidget *parent = nullptr);

    // Replaces the system clock for the list, the card and the preview.
    void setClock(Clock clock);

    // Refreshes, places the popover 8 px above `anchor` (global), kept 8 px
    // inside the available screen area, shows it and focuses the quick add.
    void positionNear(const QPoint &anchor);
    void refresh();
    void updateTimes();
    void populateGroups();

    // The top-left corner for a popover of `size`: 8 px above `anchor` and
    // centred on it, then moved 8 px inside `avail` (unless that is null).
    static QPoint placement(const QPoint &anchor, const QSize &size, const QRect &avail);
    // "now", "in 25 min", "in 2h", "in 2h 5m".
    static QString relativeTimeText(const QDateTime &start, const QDateTime &now);
    // The event's own colour, else its calendar's, else empty text.
    static QString eventColor(const Event &occurrence, const QHash<QString, QString> &calendarColors);
    // The colour `text` names, or #4285F4.
    static QColor colorOrDefault(const QString &text);

Q_SIGNALS:
    void openMainWindow();
    void requestFocusOnEvent(const QString &eventId, const QDate &date);
    void openSettings();
    void syncNowRequested();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void onItemClicked(QListWidgetItem *item);
    void onGroupActivated(int index);
    void commitQuickAdd();
    void updateQuickAddPreview(const QString &text);
    void addSectionHeader(const QString &text);
    void addPlaceholder(const QString &text);
    void addEventItem(const Event &occurrence, const QHash<QString, QString> &calendarColors, const QDate &today);
    void fitListToRows();
    void placeNearAnchor();
    void setNextEvent(const Event &occurrence, const QHash<QString, QString> &calendarColors);

    AppState *m_state = nullptr;
    QLabel *m_headerLabel = nullptr;
    QComboBox *m_groupCombo = nullptr;
    QFrame *m_nextCard = nullptr;
    QLabel *m_dotLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_timeLabel = nullptr;
    QLabel *m_locationLabel = nullptr;
    QListWidget *m_list = nullptr;
    QLineEdit *m_quickAddEdit = nullptr;
    QLabel *m_hintLabel = nullptr;
    QToolButton *m_settingsButton = nullptr;
    QTimer *m_refreshTimer = nullptr;
    std::optional<Event> m_nextEvent;
    // The day the list was built for.
    QDate m_listedDay;
    // Where positionNear last placed the popover from: it is placed again
    // from there whenever it changes size while shown.
    std::optional<QPoint> m_anchor;
    Clock m_clock = systemNow;
};
