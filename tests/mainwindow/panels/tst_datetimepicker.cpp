#include "datetimepicker.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QDateTime local(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime);
}

void typeTime(DateTimePicker &picker, const QString &text)
{
    QLineEdit *edit = picker.timeCombo()->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

} // namespace

class TestDateTimePicker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsTheLocalWallClock()
    {
        DateTimePicker picker(Qt::Monday);
        QSignalSpy changed(&picker, &DateTimePicker::dateTimeChanged);
        const QDateTime utc(QDate(2026, 3, 29), QTime(12, 0), Qt::UTC);
        picker.setDateTime(utc);
        QCOMPARE(picker.dateTime(), utc.toLocalTime());
        QCOMPARE(picker.dateTime().timeSpec(), Qt::LocalTime);
        QCOMPARE(picker.timeCombo()->currentText(), DateTimePicker::timeText(utc.toLocalTime().time()));
        QCOMPARE(changed.size(), 1);

        picker.setDateTime(QDateTime());
        QCOMPARE(picker.dateTime(), utc.toLocalTime());
        picker.setDateTime(utc);
        QCOMPARE(changed.size(), 1); // the same value again changes nothing
    }

    void typedAndChosenTimes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QTime>("time");
        QTest::newRow("off the quarter hours") << u"10:07"_s << QTime(10, 7);
        QTest::newRow("twelve-hour text") << u"3:15 pm"_s << QTime(15, 15);
        QTest::newRow("unreadable: unchanged") << u"soon"_s << QTime(8, 0);
    }
    void typedAndChosenTimes()
    {
        QFETCH(QString, typed);
        QFETCH(QTime, time);
        DateTimePicker picker(Qt::Monday);
        picker.show();
        picker.setDateTime(local(2026, 5, 4, 8));
        typeTime(picker, typed);
        QCOMPARE(picker.dateTime(), QDateTime(QDate(2026, 5, 4), time, Qt::LocalTime));
        QCOMPARE(picker.timeCombo()->currentText(), DateTimePicker::timeText(time));

        const int index = picker.timeCombo()->findData(QTime(17, 45));
        QVERIFY(index >= 0);
        picker.timeCombo()->setCurrentIndex(index);
        Q_EMIT picker.timeCombo()->activated(index);
        QCOMPARE(picker.dateTime(), local(2026, 5, 4, 17, 45));
    }

    void dateOnly()
    {
        DateTimePicker picker(Qt::Sunday);
        picker.show();
        picker.setDateTime(local(2026, 3, 8, 14, 30));
        QSignalSpy changed(&picker, &DateTimePicker::dateTimeChanged);
        picker.setDateOnly(true);
        QVERIFY(picker.isDateOnly());
        QVERIFY(!picker.timeCombo()->isVisible());
        QCOMPARE(picker.dateTime(), local(2026, 3, 8));
        QCOMPARE(picker.date(), QDate(2026, 3, 8));
        picker.setDateOnly(false);
        QCOMPARE(picker.dateTime(), local(2026, 3, 8, 14, 30));
        QCOMPARE(changed.size(), 2);
    }

    // The end follows its start, keeping the event's length on the wall
    // clock (never before the start); a change made to the end itself sets
    // that length anew.
    void endFollowsStart_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<QDateTime>("typedEnd"); // set on the end before the start moves; invalid: none
        QTest::addColumn<bool>("dateOnly");
        QTest::addColumn<QDateTime>("newStart");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime none;
        QTest::newRow("later, still before the end: an hour long still")
            << local(2026, 3, 27, 10) << local(2026, 3, 27, 11) << none << false << local(2026, 3, 27, 10, 17)
            << local(2026, 3, 27, 11, 17);
        QTest::newRow("a day earlier: the end comes along")
            << local(2026, 3, 27, 10) << local(2026, 3, 27, 11) << none << false << local(2026, 3, 26, 10)
            << local(2026, 3, 26, 11);
        QTest::newRow("across a change of time: the same wall-clock length")
            << local(2026, 3, 27, 10) << local(2026, 3, 30, 11) << none << false << local(2026, 3, 6, 10)
            << local(2026, 3, 9, 11);
        QTest::newRow("an end the user changed: its new length")
            << local(2026, 3, 27, 10) << local(2026, 3, 27, 11) << local(2026, 3, 27, 12, 30) << false
            << local(2026, 3, 28, 9) << local(2026, 3, 28, 11, 30);
        QTest::newRow("an end before the start: at the start")
            << local(2026, 3, 27, 10) << local(2026, 3, 27, 11) << local(2026, 3, 27, 9) << false
            << local(2026, 3, 27, 14) << local(2026, 3, 27, 14);
        QTest::newRow("dates only: as many days")
            << local(2026, 3, 3) << local(2026, 3, 5) << none << true << local(2026, 3, 28) << local(2026, 3, 30);
    }
    void endFollowsStart()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(QDateTime, typedEnd);
        QFETCH(bool, dateOnly);
        QFETCH(QDateTime, newStart);
        QFETCH(QDateTime, expected);
        DateTimePicker startPicker(Qt::Monday), endPicker(Qt::Monday);
        startPicker.setDateTime(start);
        endPicker.setDateTime(end);
        endPicker.setReferencePicker(&startPicker);
        QCOMPARE(endPicker.dateTime(), end);
        QCOMPARE(endPicker.dateEdit()->minimumDate(), start.date());
        // Switching to dates only and back moves nothing.
        for (bool mode : {true, false, dateOnly}) {
            startPicker.setDateOnly(mode);
            endPicker.setDateOnly(mode);
        }
        QCOMPARE(endPicker.dateTime(), end);
        endPicker.setDateTime(typedEnd);

        startPicker.setDateTime(newStart);
        QCOMPARE(endPicker.dateTime(), expected);
        QCOMPARE(endPicker.dateEdit()->minimumDate(), newStart.date());

        endPicker.setReferencePicker(nullptr);
        startPicker.setDateTime(newStart.addDays(30));
        QCOMPARE(endPicker.dateTime(), expected);
        QVERIFY(endPicker.dateEdit()->minimumDate() < QDate(2000, 1, 1));
    }
};

QTEST_MAIN(TestDateTimePicker)
#include "tst_datetimepicker.moc"
