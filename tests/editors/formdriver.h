#pragma once

// Drives the event form the way a user does: typing into its fields,
// choosing items, clicking its buttons. Each function finds the widget by its
// object name inside `form` (the dialog or a modal step's widget).

#include "datetimepicker.h"
#include "modalscript.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace FormDriver {

template<typename T>
T *find(QWidget *form, const QString &name)
{
    T *widget = form->findChild<T *>(name);
    if (!widget)
        qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return widget;
}

inline void type(QWidget *form, const QString &name, const QString &text)
{
    if (auto *edit = find<QLineEdit>(form, name)) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
}

inline void typeNotes(QWidget *form, const QString &text)
{
    if (auto *notes = find<QPlainTextEdit>(form, QStringLiteral("notes"))) {
        notes->selectAll();
        QTest::keyClick(notes, Qt::Key_Delete);
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(notes, Qt::Key_Return);
            QTest::keyClicks(notes, lines.at(i));
        }
    }
}

// Picks the date in the date edit and types the time, as a user would.
inline void setWhen(QWidget *form, const QString &picker, const QDateTime &when)
{
    auto *p = find<DateTimePicker>(form, picker);
    if (!p)
        return;
    const QDateTime local = when.toLocalTime();
    p->dateEdit()->setDate(local.date());
    if (!p->isDateOnly()) {
        // Leaving the field takes the typed time (Return would also press
        // the dialog's default button).
        QLineEdit *edit = p->timeCombo()->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, local.time().toString(QStringLiteral("HH:mm")));
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &leave);
    }
}

inline void choose(QWidget *form, const QString &combo, const QVariant &data)
{
    if (auto *box = find<QComboBox>(form, combo))
        box->setCurrentIndex(box->findData(data));
}

inline void click(QWidget *form, const QString &name)
{
    if (auto *button = find<QAbstractButton>(form, name))
        QTest::mouseClick(button, Qt::LeftButton);
}

// For buttons that open a nested modal dialog: clicked once the step returns.
inline void clickLater(QWidget *form, const QString &name)
{
    if (auto *button = find<QAbstractButton>(form, name))
        ModalScript::click(button);
}

inline void setAllDay(QWidget *form, bool allDay)
{
    if (auto *box = find<QCheckBox>(form, QStringLiteral("allDay")); box && box->isChecked() != allDay)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

// A new reminder row (15 minutes before), then `minutes` chosen in it.
inline void addReminder(QWidget *form, int minutes)
{
    click(form, QStringLiteral("addReminder"));
    const QList<QComboBox *> rows = form->findChildren<QComboBox *>(QStringLiteral("reminder"));
    if (!rows.isEmpty()) {
        QComboBox *last = rows.last();
        last->setCurrentIndex(last->findData(minutes));
    }
}

inline void addAttendee(QWidget *form, const QString &name, const QString &email)
{
    click(form, QStringLiteral("addAttendee"));
    // The rows are built anew: the last row is the new one.
    const QList<QLineEdit *> names = form->findChildren<QLineEdit *>(QStringLiteral("attendeeName"));
    const QList<QLineEdit *> emails = form->findChildren<QLineEdit *>(QStringLiteral("attendeeEmail"));
    if (names.isEmpty() || emails.isEmpty())
        return;
    QTest::keyClicks(names.last(), name);
    QTest::keyClicks(emails.last(), email);
    emails.last()->setCursorPosition(0);
}

inline QPushButton *button(QWidget *dialog, QDialogButtonBox::StandardButton which)
{
    auto *box = dialog->findChild<QDialogButtonBox *>();
    return box ? box->button(which) : nullptr;
}

// The OK button of the dialog, clicked after the step returns (a failed
// validation opens a message box).
inline void confirm(QWidget *dialog)
{
    if (QPushButton *ok = button(dialog, QDialogButtonBox::Ok))
        ModalScript::click(ok);
}

} // namespace FormDriver
