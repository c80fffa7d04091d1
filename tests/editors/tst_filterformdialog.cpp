#include "appstatefixture.h"
#include "calendarchecklist.h"
#include "calendarrepository.h"
#include "filterformdialog.h"
#include "filterrulerepository.h"
#include "modalscript.h"
#include "storedrow.h"
#include "trayfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

namespace {

const QString kWork = u"cal-work"_s;
const QString kHidden = u"cal-hidden"_s;

Calendar makeCalendar(const QString &id, const QString &name, bool visible)
{
    Calendar calendar = AppStateFixture::localCalendar(id, name, u"#1565C0"_s);
    calendar.is_visible = visible;
    return calendar;
}

template<typename T>
T *child(QWidget *form, const QString &name)
{
    T *widget = form->findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

void click(QWidget *form, const QString &name)
{
    // Near the left edge: on a check box's indicator, whatever its width.
    QAbstractButton *button = child<QAbstractButton>(form, name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void type(QWidget *form, const QString &name, const QString &text)
{
    QLineEdit *edit = child<QLineEdit>(form, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void pressOk(QDialog *form)
{
    form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

void checkCalendar(QDialog *form, const QString &id, bool checked)
{
    auto *list = form->findChild<CalendarChecklist *>();
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toString() == id)
            list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

QDateTime daysFromToday(int days, int hour)
{
    return QDateTime(QDate::currentDate().addDays(days), QTime(hour, 0));
}

} // namespace

class TestFilterFormDialog : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

    FilterRule onlyRule() const
    {
        const QList<FilterRule> rules = m_state->filterRules()->getAll();
        return rules.size() == 1 ? rules.first() : FilterRule();
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
        QVERIFY(m_state->calendars()->insert(makeCalendar(kWork, u"Work"_s, true)));
        QVERIFY(m_state->calendars()->insert(makeCalendar(kHidden, u"Archive"_s, false)));
    }
    void cleanup() { m_fixture.reset(); }

    void newFormStartsOnPatternHideEnabled()
    {
        FilterFormDialog form(m_state);
        form.show();
        QCOMPARE(form.windowTitle(), u"Add Filter"_s);
        QVERIFY(child<QToolButton>(&form, u"type_pattern"_s)->isChecked());
        QVERIFY(child<QCheckBox>(&form, u"enabledCheck"_s)->isChecked());
        QCOMPARE(child<QComboBox>(&form, u"actionCombo"_s)->currentData().toString(), u"hide"_s);
        QVERIFY(!child<QCheckBox>(&form, u"suppressCheck"_s)->isVisible());
        // Hidden calendars are not offered.
        QCOMPARE(form.findChild<CalendarChecklist *>()->count(), 2);
    }

    void eachKindStoresItsConditions_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("phrases");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<QString>("exact");
        QTest::addColumn<QString>("rangeStart");
        QTest::addColumn<QString>("rangeEnd");
        QTest::addColumn<QStringList>("days");
        QTest::addColumn<bool>("recurringOnly");
        QTest::addColumn<QString>("storedType");
        QTest::addColumn<QString>("conditions");

        const QString none;
        QTest::newRow("pattern: phrases split at commas, blanks and empty parts dropped")
            << u"pattern"_s << u"standup,, lunch ,"_s << false << none << none << none << QStringList() << false
            << u"pattern"_s
            << uR"({"caseSensitive":false,"descriptionContains":[],"locationContains":[],"runtimeType":"pattern","titleContains":["standup","lunch"],"titleExact":[]})"_s;
        QTest::newRow("pattern: case sensitive")
            << u"pattern"_s << u"1:1"_s << true << none << none << none << QStringList() << false << u"pattern"_s
            << uR"({"caseSensitive":true,"descriptionContains":[],"locationContains":[],"runtimeType":"pattern","titleContains":["1:1"],"titleExact":[]})"_s;
        QTest::newRow("time: nothing checked")
            << u"time"_s << none << false << none << none << none << QStringList() << false << u"time"_s
            << uR"({"daysOfWeek":[],"recurringOnly":false,"runtimeType":"time"})"_s;
        QTest::newRow("time: days Monday to Sunday whatever the click order")
            << u"time"_s << none << false << none << none << none << QStringList{u"fri"_s, u"mon"_s} << false
            << u"time"_s << uR"({"daysOfWeek":["mon","fri"],"recurringOnly":false,"runtimeType":"time"})"_s;
        QTest::newRow("time: exact start and range as 24-hour text")
            << u"time"_s << none << false << u"07:30"_s << u"13:00"_s << u"14:45"_s << QStringList() << true
            << u"time"_s
            << uR"({"daysOfWeek":[],"recurringOnly":true,"runtimeType":"time","timeExact":"07:30","timeRange":{"end":"14:45","start":"13:00"}})"_s;
        QTest::newRow("all-day: stored as all_day, run as allDay")
            << u"all_day"_s << none << false << none << none << none << QStringList() << false << u"all_day"_s
            << uR"({"recurringOnly":false,"runtimeType":"allDay"})"_s;
        QTest::newRow("all-day: recurring only")
            << u"all_day"_s << none << false << none << none << none << QStringList() << true << u"all_day"_s
            << uR"({"recurringOnly":true,"runtimeType":"allDay"})"_s;
        QTest::newRow("specific: the event is named by its columns")
            << u"specific"_s << none << false << none << none << none << QStringList() << false << u"specific"_s
            << uR"({"runtimeType":"specific"})"_s;
    }
    void eachKindStoresItsConditions()
    {
        QFETCH(QString, kind);
        QFETCH(QString, phrases);
        QFETCH(bool, caseSensitive);
        QFETCH(QString, exact);
        QFETCH(QString, rangeStart);
        QFETCH(QString, rangeEnd);
        QFETCH(QStringList, days);
        QFETCH(bool, recurringOnly);
        QFETCH(QString, storedType);
        QFETCH(QString, conditions);

        const Event event = makeEvent(EventDraft(u"Weekly sync"_s, daysFromToday(1, 9)).repeating(u"FREQ=WEEKLY"_s));
        QVERIFY(m_state->events()->insert(event));
        FilterFormDialog form(m_state);
        form.show();
        type(&form, u"nameEdit"_s, u"My rule"_s);
        if (kind == u"specific")
            form.setSpecificEvent(event);
        else
            click(&form, u"type_"_s + kind);
        if (!phrases.isEmpty())
            type(&form, u"phraseEdit"_s, phrases);
        if (caseSensitive)
            click(&form, u"caseSensitiveCheck"_s);
        if (!exact.isEmpty()) {
            click(&form, u"exactTimeCheck"_s);
            child<QTimeEdit>(&form, u"exactTimeEdit"_s)->setTime(QTime::fromString(exact, u"HH:mm"_s));
        }
        if (!rangeStart.isEmpty()) {
            click(&form, u"timeRangeCheck"_s);
            child<QTimeEdit>(&form, u"rangeStartEdit"_s)->setTime(QTime::fromString(rangeStart, u"HH:mm"_s));
            child<QTimeEdit>(&form, u"rangeEndEdit"_s)->setTime(QTime::fromString(rangeEnd, u"HH:mm"_s));
        }
        for (const QString &day : days)
            click(&form, u"day_"_s + day);
        if (recurringOnly)
            click(&form, kind == u"time" ? u"timeRecurringOnlyCheck"_s : u"allDayRecurringOnlyCheck"_s);
        if (kind != u"specific")
            checkCalendar(&form, kWork, true);
        pressOk(&form);

        QCOMPARE(form.result(), int(QDialog::Accepted));
        const FilterRule rule = onlyRule();
        QCOMPARE(rule.name, u"My rule"_s);
        QCOMPARE(rule.type, storedType);
        QCOMPARE(rule.conditions, conditions);
        QCOMPARE(rule.priority, 100);
        QCOMPARE(rule.sync_status, u"pending"_s);
        QVERIFY(!QUuid::fromString(rule.id).isNull());
        if (kind == u"specific") {
            QCOMPARE(rule.calendar_ids, u"[]"_s);
            QCOMPARE(rule.event_uid, event.uid);
            QCOMPARE(rule.event_calendar_id, event.calendar_id);
        } else {
            QCOMPARE(rule.calendar_ids, uR"(["cal-work"])"_s);
            QVERIFY(rule.event_uid.isEmpty());
        }
    }

    void incompleteRulesAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("blank name") << u"   "_s << u"pattern"_s << u"Name required"_s;
        QTest::newRow("pattern without a phrase") << u"Quiet"_s << u"pattern"_s << u"No patterns"_s;
        QTest::newRow("specific without an event") << u"Quiet"_s << u"specific"_s << u"No event selected"_s;
    }
    void incompleteRulesAreRefused()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, title);
        FilterFormDialog form(m_state);
        form.show();
        type(&form, u"nameEdit"_s, name);
        click(&form, u"type_"_s + kind);
        type(&form, u"phraseEdit"_s, u" , "_s);
        ModalScript script;
        script.answer(title);
        pressOk(&form);
        QVERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QVERIFY(form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(m_state->filterRules()->getAll().isEmpty());
    }

    void remindersAreSuppressedOnlyWhenDimming_data()
    {
        QTest::addColumn<QString>("finalAction");
        QTest::addColumn<bool>("suppressed");
        QTest::newRow("dim with the box checked") << u"dim"_s << true;
        QTest::newRow("back to hide after checking the box") << u"hide"_s << false;
    }
    void remindersAreSuppressedOnlyWhenDimming()
    {
        QFETCH(QString, finalAction);
        QFETCH(bool, suppressed);
        FilterFormDialog form(m_state);
        form.show();
        type(&form, u"nameEdit"_s, u"Quiet lunch"_s);
        type(&form, u"phraseEdit"_s, u"lunch"_s);
        auto *action = child<QComboBox>(&form, u"actionCombo"_s);
        action->setCurrentIndex(action->findData(u"dim"_s));
        QVERIFY(child<QCheckBox>(&form, u"suppressCheck"_s)->isVisible());
        click(&form, u"suppressCheck"_s);
        action->setCurrentIndex(action->findData(finalAction));
        pressOk(&form);
        QCOMPARE(onlyRule().action, finalAction);
        QCOMPARE(onlyRule().suppress_reminders, suppressed);
    }

    // A rule scoped to calendars that are out of sight must stay scoped: an
    // empty list would mean every calendar.
    void editingKeepsTheRuleAndItsHiddenCalendars_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("uncheckWork");
        QTest::addColumn<QString>("saved");
        QTest::newRow("a shown and a hidden calendar: both stay")
            << uR"(["cal-work","cal-hidden"])"_s << false << uR"(["cal-work","cal-hidden"])"_s;
        QTest::newRow("only a hidden calendar: still scoped to it")
            << uR"(["cal-hidden"])"_s << false << uR"(["cal-hidden"])"_s;
        QTest::newRow("the shown one unchecked: the hidden one stays")
            << uR"(["cal-work","cal-hidden"])"_s << true << uR"(["cal-hidden"])"_s;
        QTest::newRow("every calendar stays every calendar") << u"[]"_s << false << u"[]"_s;
    }
    void editingKeepsTheRuleAndItsHiddenCalendars()
    {
        QFETCH(QString, stored);
        QFETCH(bool, uncheckWork);
        QFETCH(QString, saved);
        FilterRule rule;
        rule.id = u"rule-1"_s;
        rule.name = u"Standups"_s;
        rule.type = u"pattern"_s;
        rule.conditions = uR"({"runtimeType":"pattern","titleContains":["standup"],"titleExact":["x"]})"_s;
        rule.calendar_ids = stored;
        rule.priority = 40;
        rule.sync_status = u"synced"_s;
        rule.created_at = QDateTime(QDate(2025, 1, 2), QTime(3, 4), QTimeZone::utc());
        rule.updated_at = rule.created_at;
        QVERIFY(m_state->filterRules()->insert(rule));

        FilterFormDialog form(m_state, rule);
        form.show();
        QCOMPARE(form.windowTitle(), u"Edit Filter"_s);
        QCOMPARE(child<QLineEdit>(&form, u"phraseEdit"_s)->text(), u"standup"_s);
        if (uncheckWork)
            checkCalendar(&form, kWork, false);
        pressOk(&form);

        const FilterRule after = onlyRule();
        QCOMPARE(after.id, rule.id);
        QCOMPARE(after.priority, 40);
        QCOMPARE(after.created_at, rule.created_at);
        QCOMPARE(after.sync_status, uncheckWork ? u"pending"_s : u"synced"_s); // untouched: not written
        QCOMPARE(after.calendar_ids, saved);
        // Keys the form does not show are kept.
        QCOMPARE(after.conditions, rule.conditions);
    }

    void specificEventLabel_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("label");
        QTest::newRow("a rule whose event was deleted") << false << u"Gone"_s << u"(Event no longer exists)"_s;
        QTest::newRow("a rule on a stored event") << true << u"Weekly sync"_s << u"Weekly sync"_s;
    }
    void specificEventLabel()
    {
        QFETCH(bool, stored);
        QFETCH(QString, title);
        QFETCH(QString, label);
        const Event event = makeEvent(EventDraft(title, daysFromToday(1, 9)));
        if (stored)
            QVERIFY(m_state->events()->insert(event));
        FilterRule rule;
        rule.id = u"rule-1"_s;
        rule.name = u"One"_s;
        rule.type = u"specific"_s;
        rule.conditions = uR"({"runtimeType":"specific"})"_s;
        rule.event_uid = event.uid;
        rule.event_calendar_id = event.calendar_id;
        rule.created_at = rule.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->filterRules()->insert(rule));
        FilterFormDialog form(m_state, rule);
        QCOMPARE(child<QLabel>(&form, u"specificEventLabel"_s)->text(), label);

        // Another kind forgets the event.
        form.show();
        click(&form, u"type_all_day"_s);
        pressOk(&form);
        QCOMPARE(onlyRule().type, u"all_day"_s);
        QVERIFY(onlyRule().event_uid.isEmpty());
        QVERIFY(onlyRule().event_calendar_id.isEmpty());
    }

    void untitledSpecificEventLeavesTheNameEmpty()
    {
        FilterFormDialog form(m_state);
        form.setSpecificEvent(makeEvent(EventDraft(QString(), daysFromToday(1, 9))));
        QCOMPARE(child<QLabel>(&form, u"specificEventLabel"_s)->text(), u"(Untitled event)"_s);
        QVERIFY(child<QLineEdit>(&form, u"nameEdit"_s)->text().isEmpty());
        QVERIFY(child<QToolButton>(&form, u"type_specific"_s)->isChecked());
        QVERIFY(!form.findChild<CalendarChecklist *>()->isVisibleTo(&form));
    }

    // Seeded: a weekly standup from tomorrow (5 times in 30 days), a lunch
    // and an all-day birthday.
    void previewNamesWhatTheRuleWouldDo_data()
    {
        QTest::addColumn<bool>("seed");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("calendar");
        QTest::addColumn<QString>("preview");
        QTest::newRow("nothing in the next 30 days") << false << u"pattern"_s << u"standup"_s << u"hide"_s << QString()
                                                     << u"No events in the next 30 days to preview against."_s;
        QTest::newRow("hiding a series counts each occurrence")
            << true << u"pattern"_s << u"standup"_s << u"hide"_s << QString()
            << u"Would hide 5 of 7 events in the next 30 days.  e.g. Standup, Standup, Standup"_s;
        QTest::newRow("dimming a series counts each occurrence")
            << true << u"pattern"_s << u"standup"_s << u"dim"_s << QString()
            << u"Would dim 5 of 7 events in the next 30 days.  e.g. Standup, Standup, Standup"_s;
        QTest::newRow("all-day events") << true << u"all_day"_s << QString() << u"hide"_s << QString()
                                        << u"Would hide 1 of 7 events in the next 30 days.  e.g. Birthday"_s;
        QTest::newRow("no match: no examples") << true << u"pattern"_s << u"dentist"_s << u"hide"_s << QString()
                                               << u"Would hide 0 of 7 events in the next 30 days."_s;
        QTest::newRow("scoped to a calendar without them") << true << u"pattern"_s << u"standup"_s << u"hide"_s << kWork
                                                           << u"Would hide 0 of 7 events in the next 30 days."_s;
    }
    void previewNamesWhatTheRuleWouldDo()
    {
        QFETCH(bool, seed);
        QFETCH(QString, kind);
        QFETCH(QString, phrase);
        QFETCH(QString, action);
        QFETCH(QString, calendar);
        QFETCH(QString, preview);
        if (seed) {
            QVERIFY(!addEvent(m_state,
                              EventDraft(u"Standup"_s, daysFromToday(1, 9), daysFromToday(1, 10))
                                  .repeating(u"FREQ=WEEKLY"_s))
                         .isEmpty());
            QVERIFY(!addEvent(m_state, EventDraft(u"Lunch with Ann"_s, daysFromToday(2, 12), daysFromToday(2, 13)))
                         .isEmpty());
            const QDate day = QDate::currentDate().addDays(3);
            QVERIFY(!addEvent(m_state, EventDraft(u"Birthday"_s, utcDate(day), utcDate(day.addDays(1))).wholeDay())
                         .isEmpty());
        }
        FilterFormDialog form(m_state);
        form.show();
        click(&form, u"type_"_s + kind);
        if (!phrase.isEmpty())
            type(&form, u"phraseEdit"_s, phrase);
        auto *actions = child<QComboBox>(&form, u"actionCombo"_s);
        actions->setCurrentIndex(actions->findData(action));
        if (!calendar.isEmpty())
            checkCalendar(&form, calendar, true);
        QCOMPARE(form.previewText(), preview);
        QCOMPARE(child<QLabel>(&form, u"previewLabel"_s)->text(), preview);
    }

    // OK writes only what the user changed, on the row as it is then: keys
    // without a field stay, and a rule of an unknown type is shown read-only.
    void untouchedValuesStayAsStored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("behind"); // while the form is open
        QTest::addColumn<QString>("phrases"); // typed; empty: left alone
        QTest::addColumn<QString>("conditions"); // then saved
        const QString manyKeys = uR"({"caseSensitive":false,"descriptionContains":["agenda"],)"
                                 uR"("locationContains":["room"],"runtimeType":"pattern","titleContains":)"
                                 uR"(["standup"%1],"titleExact":["Standup"],"x-next":1})"_s;
        const QString set = u"conditions = '%1'"_s;
        QTest::newRow("pattern keys without a field")
            << set.arg(manyKeys.arg(QString())) << QString() << QString() << manyKeys.arg(QString());
        QTest::newRow("a new phrase keeps them")
            << set.arg(manyKeys.arg(QString())) << QString() << u"standup, sync"_s << manyKeys.arg(uR"(,"sync")"_s);
        QTest::newRow("only an exact title")
            << set.arg(uR"({"runtimeType":"pattern","titleExact":["Sync"]})"_s) << QString() << QString()
            << uR"({"runtimeType":"pattern","titleExact":["Sync"]})"_s;
        QTest::newRow("time conditions with blanks, hide with suppressed reminders, a hidden calendar")
            << uR"(type = 'time', conditions = '{ "daysOfWeek": ["mon"] }', action = 'hide', suppress_reminders = 1, )"
               uR"(name = ' Standups ', calendar_ids = '["cal-hidden"]')"_s
            << QString() << QString() << uR"({ "daysOfWeek": ["mon"] })"_s;
        QTest::newRow("changed elsewhere while open")
            << QString() << u"priority = 70, enabled = 0, action = 'hide'"_s << QString()
            << uR"({"runtimeType":"pattern","titleContains":["standup"]})"_s;
        QTest::newRow("an unknown type: read-only")
            << uR"(type = 'distance', conditions = '{"km":5}')"_s << QString() << QString() << uR"({"km":5})"_s;
        QTest::newRow("an unknown type whose calendars are gone: said so, nothing offered")
            << uR"(type = 'distance', conditions = '{"km":5}', calendar_ids = '["cal-gone"]')"_s << QString()
            << QString() << uR"({"km":5})"_s;
        QTest::newRow("every calendar gone: still matching nothing, not every calendar")
            << uR"(calendar_ids = '["cal-gone"]')"_s << QString() << QString()
            << uR"({"runtimeType":"pattern","titleContains":["standup"]})"_s;
    }
    void untouchedValuesStayAsStored()
    {
        QFETCH(QString, stored);
        QFETCH(QString, behind);
        QFETCH(QString, phrases);
        FilterRule rule;
        rule.id = u"rule-k"_s;
        rule.name = u"Standups"_s;
        rule.type = u"pattern"_s;
        rule.action = u"dim"_s;
        rule.conditions = uR"({"runtimeType":"pattern","titleContains":["standup"]})"_s;
        rule.created_at = rule.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->filterRules()->insert(rule));
        const StoredRow row{*m_fixture, u"filter_rules"_s, rule.id,
                            phrases.isEmpty() ? QStringList{u"conditions"_s}
                                              : QStringList{u"updated_at"_s, u"sync_status"_s, u"conditions"_s}};
        row.set(u"sync_status = 'synced', updated_at = '2026-01-01T00:00:00Z'"_s);
        row.set(stored);
        FilterFormDialog form(m_state, *m_state->filterRules()->getById(rule.id));
        form.show();
        row.set(behind);
        const QString before = row.text();
        const bool known = !stored.contains(u"distance"_s);
        if (!phrases.isEmpty())
            type(&form, u"phraseEdit"_s, phrases);
        QCOMPARE(form.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), known);
        // A read-only form neither offers "every calendar" nor asks for a check.
        QCOMPARE(child<QLabel>(&form, u"everyCalendarHint"_s)->isVisible(), known);
        const QLabel *gone = child<QLabel>(&form, u"goneCalendarsNotice"_s);
        QCOMPARE(gone->isVisible(), stored.contains(u"cal-gone"_s));
        QVERIFY(known || !gone->isVisible() || !gone->text().contains(u"Check"_s));
        pressOk(&form);
        QCOMPARE(form.result(), int(known ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(row.text(), before);
        QTEST(onlyRule().conditions, "conditions");
    }
};

QTEST_MAIN(TestFilterFormDialog)
#include "tst_filterformdialog.moc"
