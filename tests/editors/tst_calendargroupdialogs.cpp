#include "appstatefixture.h"
#include "calendarchecklist.h"
#include "calendarrepository.h"
#include "manageviewsdialog.h"
#include "modalscript.h"
#include "storedrow.h"
#include "viewformdialog.h"
#include "viewrepository.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

const QString kAll = u"all-calendars"_s;

CalendarView makeGroup(const QString &id, const QString &name, int sortOrder, const QString &color = {})
{
    CalendarView view;
    view.id = id;
    view.name = name;
    view.color = color;
    view.sort_order = sortOrder;
    view.sync_status = u"synced"_s;
    view.created_at = view.updated_at = QDateTime::currentDateTimeUtc();
    return view;
}

Calendar makeCalendar(const QString &id, const QString &name, bool visible)
{
    Calendar calendar = AppStateFixture::localCalendar(id, name);
    calendar.is_visible = visible;
    return calendar;
}

QPushButton *button(QWidget *dialog, const QString &name)
{
    return dialog->findChild<QPushButton *>(name);
}

void pressOk(QDialog *form)
{
    form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

QStringList rowTexts(const ManageViewsDialog &dialog)
{
    QStringList out;
    for (int i = 0; i < dialog.list()->count(); ++i)
        out << dialog.list()->item(i)->text();
    return out;
}

} // namespace

class TestCalendarGroupDialogs : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

    // "name sort_order status" of every live group, in list order.
    QStringList stored() const
    {
        QStringList out;
        const QList<CalendarView> views = m_state->views()->getAll();
        for (const CalendarView &v : views)
            out << u"%1 %2 %3"_s.arg(v.name).arg(v.sort_order).arg(v.sync_status);
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
        QVERIFY(m_state->calendars()->insert(makeCalendar(u"cal-work"_s, u"Work"_s, true)));
        QVERIFY(m_state->calendars()->insert(makeCalendar(u"cal-archive"_s, u"Archive"_s, false)));
    }
    void cleanup() { m_fixture.reset(); }

    void listStartsWithTheBuiltInGroup()
    {
        QVERIFY(m_state->views()->insert(makeGroup(u"g-travel"_s, u"Travel"_s, 5, u"#00897B"_s)));
        ManageViewsDialog dialog(m_state);
        QCOMPARE(dialog.windowTitle(), u"Manage Calendar Groups"_s);
        QCOMPARE(rowTexts(dialog), (QStringList{u"All Calendars"_s, u"Travel"_s}));
        QVERIFY(!(dialog.list()->item(0)->flags() & Qt::ItemIsDragEnabled));
        QVERIFY(dialog.list()->item(1)->flags() & Qt::ItemIsDragEnabled);
        QVERIFY(dialog.list()->item(0)->icon().isNull());
        QVERIFY(!dialog.list()->item(1)->icon().isNull());
    }

    void withoutGroupsOnlyAPlaceholder()
    {
        QVERIFY(m_state->views()->remove(kAll));
        ManageViewsDialog dialog(m_state);
        QCOMPARE(rowTexts(dialog), QStringList{u"(no groups yet)"_s});
        QCOMPARE(dialog.list()->item(0)->flags(), Qt::NoItemFlags);
        QVERIFY(!button(&dialog, u"editButton"_s)->isEnabled());
        QVERIFY(!button(&dialog, u"deleteButton"_s)->isEnabled());
    }

    void dropAboveTheBuiltInGroup()
    {
        QVERIFY(m_state->views()->insert(makeGroup(u"g-b"_s, u"Bravo"_s, 1)));
        QVERIFY(m_state->views()->insert(makeGroup(u"g-c"_s, u"Charlie"_s, 2)));
        ManageViewsDialog dialog(m_state);
        QSignalSpy writes(m_state->views(), &ViewRepository::viewsChanged);
        QVERIFY(dialog.list()->model()->moveRow(QModelIndex(), 2, QModelIndex(), 0));
        QCOMPARE(writes.size(), 1);
        // Stored as dropped; the built-in group is listed first all the same.
        QCOMPARE(m_state->views()->getById(u"g-c"_s)->sort_order, 10);
        QCOMPARE(m_state->views()->getById(kAll)->sort_order, 20);
        QCOMPARE(stored(),
                 (QStringList{u"All Calendars 20 pending"_s, u"Charlie 10 pending"_s, u"Bravo 30 pending"_s}));
        QTRY_COMPARE(rowTexts(dialog), (QStringList{u"All Calendars"_s, u"Charlie"_s, u"Bravo"_s}));
    }

    void newGroupGoesLastWithItsCalendars_data()
    {
        QTest::addColumn<bool>("checkWork");
        QTest::addColumn<QString>("calendarIds");
        QTest::addColumn<int>("step"); // between the stored groups' orders
        QTest::addColumn<int>("sortOrder");
        QTest::newRow("no calendar checked: every visible calendar") << false << u"[]"_s << 1 << 3;
        QTest::newRow("one calendar") << true << uR"(["cal-work"])"_s << 1 << 3;
        QTest::newRow("after groups reordered in tens") << false << u"[]"_s << 10 << 21;
    }
    void newGroupGoesLastWithItsCalendars()
    {
        QFETCH(bool, checkWork);
        QFETCH(QString, calendarIds);
        QFETCH(int, step);
        QVERIFY(m_state->views()->insert(makeGroup(u"g-b"_s, u"Bravo"_s, step)));
        QVERIFY(m_state->views()->insert(makeGroup(u"g-c"_s, u"Charlie"_s, 2 * step)));
        ViewFormDialog form(m_state);
        form.show();
        QCOMPARE(form.windowTitle(), u"Add Calendar Group"_s);
        auto *list = form.findChild<CalendarChecklist *>();
        QCOMPARE(list->count(), 3); // hidden calendars too
        QTest::keyClicks(form.findChild<QLineEdit *>(u"nameEdit"_s), u"  Trips "_s);
        for (int i = 0; checkWork && i < list->count(); ++i) {
            if (list->item(i)->data(Qt::UserRole) == u"cal-work"_s)
                list->item(i)->setCheckState(Qt::Checked);
        }
        pressOk(&form);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        const std::optional<CalendarView> saved = m_state->views()->getById(form.savedViewId());
        QVERIFY(saved);
        QCOMPARE(saved->name, u"Trips"_s);
        QTEST(saved->sort_order, "sortOrder");
        QCOMPARE(m_state->views()->getAll().last().id, saved->id);
        QCOMPARE(saved->calendar_ids, calendarIds);
        QVERIFY(!saved->is_default);
        QCOMPARE(saved->sync_status, u"pending"_s);
    }

    void blankNameIsRefused()
    {
        ViewFormDialog form(m_state);
        form.show();
        ModalScript script;
        script.answer(u"Name required"_s);
        pressOk(&form);
        QVERIFY(script.done());
        QCOMPARE(script.messageTexts(), QStringList{u"Please enter a name for the group."_s});
        QVERIFY(form.savedViewId().isEmpty());
        QCOMPARE(m_state->views()->getAll().size(), 1);
    }

    void accentButton_data()
    {
        QTest::addColumn<QString>("accent");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("textColor");
        QTest::newRow("white: black text") << u"#ffffff"_s << u"#FFFFFF"_s << u"#000"_s;
        QTest::newRow("black: white text") << u"#000000"_s << u"#000000"_s << u"#fff"_s;
        QTest::newRow("yellow: black text") << u"#ffff00"_s << u"#FFFF00"_s << u"#000"_s;
        QTest::newRow("none") << QString() << u"(no accent)"_s << QString();
    }
    void accentButton()
    {
        QFETCH(QString, accent);
        QFETCH(QString, text);
        QFETCH(QString, textColor);
        QVERIFY(m_state->views()->insert(makeGroup(u"g-b"_s, u"Bravo"_s, 1, accent)));
        ViewFormDialog form(m_state, *m_state->views()->getById(u"g-b"_s));
        QPushButton *accentButton = button(&form, u"accentButton"_s);
        QCOMPARE(accentButton->text(), text);
        QCOMPARE(accentButton->styleSheet().contains(u"color: "_s + textColor + u';'), !textColor.isEmpty());
    }

    // The built-in group takes a new name; what it covers stays fixed.
    void builtInGroupCanBeRenamed()
    {
        ViewFormDialog form(m_state, *m_state->views()->getById(kAll));
        form.show();
        auto *name = form.findChild<QLineEdit *>(u"nameEdit"_s);
        QVERIFY(!name->isReadOnly());
        QVERIFY(!form.findChild<CalendarChecklist *>()->isEnabled());
        name->setText(u"Everything"_s);
        pressOk(&form);
        const std::optional<CalendarView> saved = m_state->views()->getById(kAll);
        QCOMPARE(saved->name, u"Everything"_s);
        QVERIFY(saved->is_default);
        QCOMPARE(saved->calendar_ids, u"[]"_s);
    }

    // A group keeps its hidden calendars (an empty list would mean every
    // calendar); a calendar that no longer exists is dropped.
    void editingKeepsUnlistedCalendars()
    {
        CalendarView group = makeGroup(u"g-b"_s, u"Bravo"_s, 1);
        group.calendar_ids = uR"(["cal-gone","cal-archive"])"_s;
        QVERIFY(m_state->views()->insert(group));
        ViewFormDialog form(m_state, group);
        form.show();
        QCOMPARE(form.windowTitle(), u"Edit Calendar Group"_s);
        pressOk(&form);
        const std::optional<CalendarView> saved = m_state->views()->getById(u"g-b"_s);
        QCOMPARE(saved->calendar_ids, uR"(["cal-archive"])"_s);
        QCOMPARE(saved->sort_order, 1);
    }

    void deleting_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<bool>("readOnly"); // the store refuses the write, and that is told
        QTest::newRow("yes: a tombstone") << u"g-b"_s << u"Delete group?"_s << QMessageBox::Yes
                                          << u"Delete \"Bravo\"? You can recreate it later."_s << true << false;
        QTest::newRow("yes, the store refusing: told, kept")
            << u"g-b"_s << u"Delete group?"_s << QMessageBox::Yes
            << u"Delete \"Bravo\"? You can recreate it later.\nCould not delete the group."_s << false << true;
        QTest::newRow("no: kept") << u"g-b"_s << u"Delete group?"_s << QMessageBox::No
                                  << u"Delete \"Bravo\"? You can recreate it later."_s << false << false;
        QTest::newRow("the built-in group: refused")
            << kAll << u"Built-in group"_s << QMessageBox::Ok
            << u"\"All Calendars\" is the fallback group. It can be renamed but not deleted."_s << false << false;
    }
    void deleting()
    {
        QFETCH(QString, id);
        QFETCH(QString, title);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, text);
        QFETCH(bool, deleted);
        QFETCH(bool, readOnly);
        QVERIFY(m_state->views()->insert(makeGroup(u"g-b"_s, u"Bravo"_s, 1)));
        m_state->setActiveViewId(u"g-b"_s);
        ManageViewsDialog dialog(m_state);
        dialog.show();
        dialog.list()->setCurrentRow(id == kAll ? 0 : 1);
        QVERIFY(QSqlQuery(m_state->database()->database()).exec(u"PRAGMA query_only = %1"_s.arg(int(readOnly))));
        ModalScript script;
        script.answer(title, answer);
        if (readOnly)
            script.answer(u"Database Error"_s);
        button(&dialog, u"deleteButton"_s)->click();
        QVERIFY(script.done());
        // The views never go on showing a deleted group, nor after a restart.
        const QString active = deleted ? kAll : u"g-b"_s;
        QCOMPARE(m_state->activeViewId(), active);
        QCOMPARE(m_fixture->cli(u"SELECT value FROM settings WHERE key = 'ui/activeViewId'"_s), active);
        QCOMPARE(script.messageTexts(), text.split(u'\n'));
        const std::optional<CalendarView> view = m_state->views()->getById(id);
        QCOMPARE(view->deleted_at.has_value(), deleted);
        if (deleted)
            QCOMPARE(view->sync_status, u"pending"_s);
        if (deleted)
            QTRY_COMPARE(rowTexts(dialog), QStringList{u"All Calendars"_s});
    }

    // Save writes only what the user changed, on the row as it is then;
    // ids of calendars that are gone are dropped.
    void untouchedValuesStayAsStored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("behind"); // while the form is open
        QTest::addColumn<QString>("savedIds");
        QTest::addColumn<bool>("goneNotice");
        QTest::newRow("blanks in the name and the ids") << uR"(name = ' Bravo ', calendar_ids = '[ "cal-work" ]')"_s
                                                        << QString() << uR"([ "cal-work" ])"_s << false;
        QTest::newRow("a hidden calendar, reordered and recoloured elsewhere")
            << uR"(calendar_ids = '["cal-archive"]')"_s << u"sort_order = 40, color = '#00897B'"_s
            << uR"(["cal-archive"])"_s << false;
        QTest::newRow("one calendar gone")
            << uR"(calendar_ids = '["cal-work","cal-gone"]')"_s << QString() << uR"(["cal-work"])"_s << false;
        QTest::newRow("every calendar gone: said so")
            << uR"(calendar_ids = '["cal-gone"]')"_s << QString() << u"[]"_s << true;
    }
    void untouchedValuesStayAsStored()
    {
        QFETCH(QString, stored);
        QFETCH(QString, behind);
        QFETCH(QString, savedIds);
        QFETCH(bool, goneNotice);
        QVERIFY(m_state->views()->insert(makeGroup(u"g-b"_s, u"Bravo"_s, 1)));
        const StoredRow row{*m_fixture, u"calendar_views"_s, u"g-b"_s,
                            stored.contains(savedIds) // ids kept: nothing written at all
                                ? QStringList{u"calendar_ids"_s}
                                : QStringList{u"updated_at"_s, u"sync_status"_s, u"calendar_ids"_s}};
        row.set(stored);
        ViewFormDialog form(m_state, *m_state->views()->getById(u"g-b"_s));
        form.show();
        QCOMPARE(form.findChild<QLabel *>(u"goneCalendarsNotice"_s)->isVisible(), goneNotice);
        row.set(behind);
        const QString before = row.text();
        pressOk(&form);
        QCOMPARE(row.text(), before);
        QTEST(m_state->views()->getById(u"g-b"_s)->calendar_ids, "savedIds");
    }

    void addAndEditFromTheList()
    {
        ManageViewsDialog dialog(m_state);
        dialog.show();
        ModalScript script;
        script.on(u"Add Calendar Group"_s, [](QWidget *form) {
            form->findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Family"_s);
            ModalScript::click(form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        button(&dialog, u"addButton"_s)->click();
        QVERIFY(script.done());
        QTRY_COMPARE(rowTexts(dialog), (QStringList{u"All Calendars"_s, u"Family"_s}));

        dialog.list()->setCurrentRow(1);
        ModalScript edit;
        edit.on(u"Edit Calendar Group"_s, [](QWidget *form) {
            form->findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Kin"_s);
            ModalScript::click(form->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
        });
        button(&dialog, u"editButton"_s)->click();
        QVERIFY(edit.done());
        QTRY_COMPARE(rowTexts(dialog), (QStringList{u"All Calendars"_s, u"Kin"_s}));
    }
};

QTEST_MAIN(TestCalendarGroupDialogs)
#include "tst_calendargroupdialogs.moc"
