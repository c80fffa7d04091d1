#include "modalscript.h"
#include "recurrence.h"
#include "recurrenceeditdialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
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
    // Confirmed untouched, the dialog gives back the rule it was given, as
    // written. A rule its widgets cannot show is offered as a frequency of
    // its own, named by its one-line description, until the user picks
    // another; a change undone gives the rule back.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("shown"); // the frequency shown
        QTest::addColumn<int>("picked"); // chosen after Daily; -1: untouched
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty rule: weekly on the anchor's day")
            << QString() << u"Weekly"_s << -1 << u"FREQ=WEEKLY;BYDAY=WE"_s;
        const auto same = [](const char *name, const QString &rule, const QString &shown) {
            QTest::newRow(name) << rule << shown << -1 << rule;
        };
        same("interval and count", u"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE;COUNT=10"_s, u"Weekly"_s);
        same("weekly days in another order", u"FREQ=WEEKLY;BYDAY=SU,TU"_s, u"Weekly"_s);
        same("monthly without day: the anchor's", u"FREQ=MONTHLY"_s, u"Monthly"_s);
        same("an explicit interval of one", u"FREQ=DAILY;INTERVAL=1"_s, u"Daily"_s);
        same("an end left alone", u"FREQ=YEARLY;UNTIL=20300615T103000Z"_s, u"Yearly"_s);
        same("lower-case keys and values", u"freq=daily;count=3"_s, u"Daily"_s);
        same("week start carried", u"FREQ=WEEKLY;BYDAY=TU,TH;WKST=SU"_s, u"Weekly"_s);
        // Rules the widgets cannot show.
        const QString lastWeekday = u"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"_s;
        const QString lastWeekdayText = u"Repeats monthly · on the last Mon, Tue, Wed, Thu, Fri"_s;
        same("last weekday of the month", lastWeekday, lastWeekdayText);
        same("last Sunday of March", u"FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"_s,
             u"Repeats yearly · Mar · on the last Sun"_s);
        same("two days of the month", u"FREQ=MONTHLY;BYMONTHDAY=1,15"_s, u"Repeats monthly · on the 1st"_s);
        same("daily on weekdays", u"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"_s, u"Repeats daily · Mon, Tue, Wed, Thu, Fri"_s);
        same("weekly with an ordinal", u"FREQ=WEEKLY;BYDAY=2MO"_s, u"Repeats weekly · Mon"_s);
        same("monthly fifth Monday", u"FREQ=MONTHLY;BYDAY=5MO"_s, u"Repeats monthly · on the fifth Mon"_s);
        same("monthly, two weekdays", u"FREQ=MONTHLY;BYDAY=2TU,3TH"_s, u"Repeats monthly · on the second Tue"_s);
        same("COUNT and UNTIL", u"FREQ=WEEKLY;COUNT=5;UNTIL=20270101T000000Z"_s, u"Repeats weekly · 5 time(s)"_s);
        same("interval beyond the range", u"FREQ=DAILY;INTERVAL=5000"_s, u"Every 5000 days"_s);
        same("unreadable count", u"FREQ=DAILY;COUNT=x"_s, u"Repeats daily"_s);
        same("hourly", u"FREQ=HOURLY;INTERVAL=2"_s, u"Repeats"_s);
        same("a part of another client", u"FREQ=WEEKLY;BYDAY=MO;X-NAME=a"_s, u"Repeats weekly · Mon"_s);
        QTest::newRow("last weekday, monthly picked")
            << lastWeekday << lastWeekdayText << int(RecurrenceEditDialog::Monthly) << u"FREQ=MONTHLY;BYDAY=1MO"_s;
        QTest::newRow("daily on weekdays, daily picked")
            << u"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"_s << u"Repeats daily · Mon, Tue, Wed, Thu, Fri"_s
            << int(RecurrenceEditDialog::Daily) << u"FREQ=DAILY"_s;
        QTest::newRow("last weekday, not repeating picked")
            << lastWeekday << lastWeekdayText << int(RecurrenceEditDialog::NoRepeat) << QString();
        QTest::newRow("weekly, to daily and back") << u"FREQ=WEEKLY;BYDAY=SU,TU"_s << u"Weekly"_s
                                                   << int(RecurrenceEditDialog::Weekly) << u"FREQ=WEEKLY;BYDAY=SU,TU"_s;
    }
    void roundTrip()
    {
        QFETCH(QString, rule);
        QFETCH(QString, shown);
        QFETCH(int, picked);
        QFETCH(QString, expected);
        RecurrenceEditDialog dialog(rule, kAnchor, Qt::Monday);
        dialog.setSeriesZone(QTimeZone("Europe/Berlin"));
        auto *frequency = child<QComboBox>(&dialog, u"frequency"_s);
        QCOMPARE(frequency->currentText(), shown);
        if (picked >= 0) {
            frequency->setCurrentIndex(RecurrenceEditDialog::Daily);
            frequency->setCurrentIndex(picked);
        }
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
        // As clients that give every end a time write it, at midnight east of UTC.
        QTest::newRow("no zone: a UTC end shows the day the series ends on")
            << QString() << u"FREQ=DAILY;UNTIL=20261231T230000Z"_s << untouched
            << u"FREQ=DAILY;UNTIL=20261231T230000Z"_s;
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
        // The summary names the day the end shows, also west of UTC, where
        // that day's last second is the next day in UTC.
        const QDate shown = child<QDateEdit>(&dialog, u"untilDate"_s)->date();
        const QString summary = child<QLabel>(&dialog, u"summary"_s)->text();
        QVERIFY2(summary.endsWith(u"until "_s + QLocale::c().toString(shown, u"MMM d, yyyy"_s)), qPrintable(summary));
        if (zone.isEmpty()) {
            // An all-day series, held as the store holds it: its last day.
            Event series;
            series.is_all_day = true;
            series.start_time = QDateTime(kAnchor, QTime(0, 0), Qt::UTC);
            series.end_time = series.start_time.addDays(1);
            series.recurrence_rule = expected;
            const QList<Event> days =
                Recurrence::expandEvent(series, series.start_time, series.start_time.addYears(2));
            QCOMPARE(shown, days.last().start_time.date());
        }
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
