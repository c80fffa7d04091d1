#include "modalscript.h"
#include "recurrenceeditdialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// Wednesday.
const QDate kAnchor(2026, 3, 18);

template<typename T>
T *child(QWidget *parent, const QString &name)
{
    T *widget = parent->findChild<T *>(name);
    if (!widget)
        qWarning("no child %s", qPrintable(name));
    return widget;
}

} // namespace

class TestRecurrenceEditDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty rule: weekly on the anchor's day") << QString() << u"FREQ=WEEKLY;BYDAY=WE"_s;
        QTest::newRow("interval and count")
            << u"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;COUNT=10"_s << u"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;COUNT=10"_s;
        QTest::newRow("weekly days come back Monday first")
            << u"FREQ=WEEKLY;BYDAY=SU,TU"_s << u"FREQ=WEEKLY;BYDAY=TU,SU"_s;
        QTest::newRow("weekly ordinals are dropped") << u"FREQ=WEEKLY;BYDAY=2MO"_s << u"FREQ=WEEKLY;BYDAY=MO"_s;
        QTest::newRow("monthly fifth Monday keeps the first ordinal")
            << u"FREQ=MONTHLY;BYDAY=5MO"_s << u"FREQ=MONTHLY;BYDAY=1MO"_s;
        QTest::newRow("monthly: only the first weekday counts")
            << u"FREQ=MONTHLY;BYDAY=2TU,3TH"_s << u"FREQ=MONTHLY;BYDAY=2TU"_s;
        QTest::newRow("monthly without day: the anchor's") << u"FREQ=MONTHLY"_s << u"FREQ=MONTHLY;BYMONTHDAY=18"_s;
        QTest::newRow("COUNT wins over UNTIL")
            << u"FREQ=WEEKLY;COUNT=5;UNTIL=20270101T000000Z"_s << u"FREQ=WEEKLY;BYDAY=WE;COUNT=5"_s;
        QTest::newRow("an end left alone comes back as it was given")
            << u"FREQ=YEARLY;UNTIL=20300615T103000Z"_s << u"FREQ=YEARLY;UNTIL=20300615T103000Z"_s;
        QTest::newRow("lower-case keys are read") << u"freq=DAILY;count=3"_s << u"FREQ=DAILY;COUNT=3"_s;
        QTest::newRow("interval beyond the range is clamped")
            << u"FREQ=DAILY;INTERVAL=5000"_s << u"FREQ=DAILY;INTERVAL=999"_s;
        QTest::newRow("unreadable count leaves Never") << u"FREQ=DAILY;COUNT=x"_s << u"FREQ=DAILY"_s;
    }
    void roundTrip()
    {
        QFETCH(QString, rule);
        QFETCH(QString, expected);
        RecurrenceEditDialog dialog(rule, kAnchor, Qt::Monday);
        QCOMPARE(dialog.rrule(), expected);
    }

    // An end the user leaves alone comes back exactly as given, whatever its
    // form: written anew it could let one more occurrence in. A day the user
    // picks ends a timed series on the last second of that day in its own
    // zone, written in UTC; an all-day one on the date.
    void untilForms_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDate>("picked");
        QTest::addColumn<QString>("expected");
        const QDate untouched;
        QTest::newRow("no zone: date") << QString() << u"FREQ=DAILY;UNTIL=20260401"_s << untouched
                                       << u"FREQ=DAILY;UNTIL=20260401"_s;
        QTest::newRow("Berlin: UTC midnight of a 10:00 series stays, no day is added")
            << u"Europe/Berlin"_s << u"FREQ=WEEKLY;BYDAY=FR;UNTIL=20270101T000000Z"_s << untouched
            << u"FREQ=WEEKLY;BYDAY=FR;UNTIL=20270101T000000Z"_s;
        QTest::newRow("New York: another client's UTC midnight stays")
            << u"America/New_York"_s << u"FREQ=DAILY;UNTIL=20260402T000000Z"_s << untouched
            << u"FREQ=DAILY;UNTIL=20260402T000000Z"_s;
        QTest::newRow("a date end of a timed series stays a date until touched")
            << u"Europe/Berlin"_s << u"FREQ=DAILY;UNTIL=20260401"_s << untouched << u"FREQ=DAILY;UNTIL=20260401"_s;
        QTest::newRow("Berlin, summer time: a picked day ends at its last second")
            << u"Europe/Berlin"_s << u"FREQ=DAILY;UNTIL=20260401"_s << QDate(2026, 4, 2)
            << u"FREQ=DAILY;UNTIL=20260402T215959Z"_s;
        QTest::newRow("New York: the picked day's UTC value is the next day")
            << u"America/New_York"_s << u"FREQ=DAILY;UNTIL=20260402T000000Z"_s << QDate(2026, 4, 2)
            << u"FREQ=DAILY;UNTIL=20260403T035959Z"_s;
        QTest::newRow("no zone: a picked day is a date")
            << QString() << u"FREQ=DAILY;UNTIL=20260401"_s << QDate(2026, 5, 1) << u"FREQ=DAILY;UNTIL=20260501"_s;
    }
    void untilForms()
    {
        QFETCH(QString, zone);
        QFETCH(QString, rule);
        QFETCH(QDate, picked);
        QFETCH(QString, expected);
        RecurrenceEditDialog dialog(rule, kAnchor, Qt::Monday);
        dialog.setSeriesZone(zone.isEmpty() ? QTimeZone() : QTimeZone(zone.toUtf8()));
        ModalScript script;
        script.on(u"Recurrence"_s, [picked](QWidget *modal) {
            if (picked.isValid())
                child<QDateEdit>(modal, u"untilDate"_s)->setDate(picked);
            ModalScript::click(modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(script.done());
        QCOMPARE(dialog.rrule(), expected);
    }

    // The user's way through the widgets, and what exec() hands back.
    void drivenByTheUser()
    {
        RecurrenceEditDialog dialog(QString(), kAnchor, Qt::Sunday);
        ModalScript script;
        script.on(u"Recurrence"_s, [](QWidget *modal) {
            QTest::mouseClick(child<QToolButton>(modal, u"weekday5"_s), Qt::LeftButton);
            QTest::mouseClick(child<QToolButton>(modal, u"weekday3"_s), Qt::LeftButton);
            QTest::mouseClick(child<QToolButton>(modal, u"weekday1"_s), Qt::LeftButton);
            auto *interval = child<QSpinBox>(modal, u"interval"_s);
            interval->selectAll();
            QTest::keyClicks(interval, u"3"_s);
            QTest::mouseClick(child<QRadioButton>(modal, u"endAfter"_s), Qt::LeftButton);
            auto *count = child<QSpinBox>(modal, u"count"_s);
            count->selectAll();
            QTest::keyClicks(count, u"4"_s);
            ModalScript::click(modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QVERIFY(script.done());
        QCOMPARE(dialog.rrule(), u"FREQ=WEEKLY;INTERVAL=3;BYDAY=MO,FR;COUNT=4"_s);
    }

    void monthlyPages()
    {
        RecurrenceEditDialog dialog(QString(), kAnchor, Qt::Monday);
        auto *frequency = child<QComboBox>(&dialog, u"frequency"_s);
        frequency->setCurrentIndex(RecurrenceEditDialog::Monthly);
        QCOMPARE(dialog.rrule(), u"FREQ=MONTHLY;BYMONTHDAY=18"_s);
        child<QRadioButton>(&dialog, u"monthByWeekday"_s)->click();
        QCOMPARE(dialog.rrule(), u"FREQ=MONTHLY;BYDAY=1WE"_s);
        auto *ordinal = child<QComboBox>(&dialog, u"ordinal"_s);
        ordinal->setCurrentIndex(ordinal->findData(-1));
        QCOMPARE(dialog.rrule(), u"FREQ=MONTHLY;BYDAY=-1WE"_s);
        child<QRadioButton>(&dialog, u"endOn"_s)->click();
        child<QDateEdit>(&dialog, u"untilDate"_s)->setDate(QDate(2026, 12, 31));
        QCOMPARE(dialog.rrule(), u"FREQ=MONTHLY;BYDAY=-1WE;UNTIL=20261231"_s);
    }
};

QTEST_MAIN(TestRecurrenceEditDialog)
#include "tst_recurrenceeditdialog.moc"
