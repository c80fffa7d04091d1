#pragma once

#include <QDateTime>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class QComboBox;
class QDateEdit;

// A date edit with a calendar pop-up followed by a time combo box offering
// every quarter hour (any other time can be typed). Values are wall clock
// times in local time; in date-only mode the time part is hidden and
// dateTime() is 00:00 of the chosen date.
class DateTimePicker : public QWidget
{
    Q_OBJECT
public:
    explicit DateTimePicker(Qt::DayOfWeek firstDayOfWeek, QWidget *parent = nullptr);

    // Shown as local time; an invalid value is ignored.
    void setDateTime(const QDateTime &dateTime);
    QDateTime dateTime() const;
    QDate date() const;

    void setDateOnly(bool dateOnly);
    bool isDateOnly() const { return m_dateOnly; }

    // Makes this picker follow `start`: whenever the start changes, the
    // start's date becomes this picker's minimum date and this value moves
    // with it, keeping its distance to the start as it was before the change
    // (the length of an event), none when it lay before the start. A change
    // made to this picker itself sets that distance anew. Null removes the
    // link and the minimum. The start is not owned.
    void setReferencePicker(DateTimePicker *start);

    QDateEdit *dateEdit() const { return m_dateEdit; }
    QComboBox *timeCombo() const { return m_timeCombo; }

    // The text of a time in the combo box: 24-hour unless the locale writes
    // its short times with AM/PM.
    static QString timeText(const QTime &time);

Q_SIGNALS:
    void dateTimeChanged(const QDateTime &dateTime);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fitTimeList();
    void showTime();
    void setTime(const QTime &time);
    void takeTypedTime();
    void followReference();
    // The date and the time kept, also in date-only mode, as a wall clock
    // (held in UTC, free of any zone's transitions).
    QDateTime wallClock() const;
    void changed();

    QDateEdit *m_dateEdit = nullptr;
    QComboBox *m_timeCombo = nullptr;
    QTime m_time;
    bool m_dateOnly = false;
    int m_updating = 0;
    QPointer<DateTimePicker> m_reference;
    QMetaObject::Connection m_referenceConnection;
    QDateTime m_referenceValue;
};
