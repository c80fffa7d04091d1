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

    // The end follows its start: never before it, keeping its length.
    void endFollowsStart()
    {
        DateTimePicker start(Qt::Monday), end(Qt::Monday);
        start.setDateTime(local(2026, 3, 27, 10));
        end.setDateTime(local(2026, 3, 27, 11));
        end.setReferencePicker(&start);
        QCOMPARE(end.dateEdit()->minimumDate(), QDate(2026, 3, 27));

        start.setDateTime(local(2026, 3, 27, 10, 30)); // still before the end
        QCOMPARE(end.dateTime(), local(2026, 3, 27, 11));
        start.setDateTime(local(2026, 3, 30, 9)); // past it: moves, 30 minutes long
        QCOMPARE(end.dateTime(), local(2026, 3, 30, 9, 30));
        QCOMPARE(end.dateEdit()->minimumDate(), QDate(2026, 3, 30));

        start.setDateTime(local(2026, 3, 20, 9)); // earlier: the end stays
        QCOMPARE(end.dateTime(), local(2026, 3, 30, 9, 30));
        QCOMPARE(end.dateEdit()->minimumDate(), QDate(2026, 3, 20));

        end.setReferencePicker(nullptr);
        start.setDateTime(local(2026, 4, 30, 9));
        QCOMPARE(end.dateTime(), local(2026, 3, 30, 9, 30));
        QVERIFY(end.dateEdit()->minimumDate() < QDate(2000, 1, 1));
    }
};

QTEST_MAIN(TestDateTimePicker)
#include "tst_datetimepicker.moc"
