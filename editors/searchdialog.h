#pragma once

#include <QDateTime>
#include <QDialog>
#include <QPair>
#include <QSet>
#include <QString>

struct Event;
class AppState;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTimer;

// Finds events by text in their title, location or notes, letter case aside,
// within a date range preset and a chosen set of calendars, as the user
// types. A repeating event is listed once, at its first occurrence from now
// on within the range (else its last one before), and that occurrence is
// what its details, Edit and Delete act on; an occurrence changed on its own
// is found by its own text and listed apart. A search runs
// 200 ms after the last change, so that a burst of typing costs one query.
// A click on a result shows its details once no second click follows (the
// pop-over would take the second click of a double-click for itself);
// activating one emits eventActivated() and accepts the dialog. Close rejects it.
class SearchDialog : public QDialog
{
    Q_OBJECT
public:
    // The range presets, in the order of the range box.
    enum Range { AllTime, Past30Days, Past90Days, Next30Days, Next12Months };

    // `state` is not owned. The calendar list is built here, once.
    SearchDialog(AppState *state, QWidget *parent = nullptr);

    // Both bounds are inclusive; an unknown preset is AllTime.
    static QPair<QDateTime, QDateTime> rangeBounds(int range, const QDateTime &now);
    static QString whenText(const Event &event);
    // The local day of the occurrence last activated; invalid before.
    QDate activatedDay() const { return m_activatedDay; }

Q_SIGNALS:
    void eventActivated(const QString &eventId);

private:
    void runSearch();
    QListWidgetItem *resultItem(const Event &event) const;
    void showResultDetails(QListWidgetItem *item);
    void detailsSoon(QListWidgetItem *item);
    void activate(QListWidgetItem *item);

    AppState *m_state;
    QLineEdit *m_search = nullptr;
    QComboBox *m_range = nullptr;
    QListWidget *m_calendars = nullptr;
    QListWidget *m_results = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_debounce = nullptr;
    QTimer *m_detailsDelay = nullptr;
    QString m_clickedEventId;
    QSet<QString> m_selectedCalendars;
    QDate m_activatedDay;
};
