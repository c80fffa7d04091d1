#include "appstatefixture.h"
#include "eventformdialog.h"
#include "formdriver.h"
#include "managetemplatesdialog.h"
#include "storedrow.h"
#include "templateeditordialog.h"
#include "templaterepository.h"

#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QSqlQuery>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

EventTemplate fresh()
{
    EventTemplate t;
    t.reminders = {15};
    return t;
}

EventTemplate standup()
{
    EventTemplate t = fresh();
    t.name = u"Standup"_s;
    t.title = u"Daily standup"_s;
    t.duration_minutes = 15;
    return t;
}

QStringList rowsOf(QWidget *dialog)
{
    QStringList rows;
    auto *list = dialog->findChild<QListWidget *>(u"templateList"_s);
    for (int i = 0; list && i < list->count(); ++i)
        rows.append(list->item(i)->text());
    return rows;
}

QList<int> reminderChoices(QWidget *editor)
{
    QList<int> minutes;
    for (QComboBox *row : editor->findChildren<QComboBox *>(u"reminder"_s))
        minutes.append(row->currentData().toInt());
    return minutes;
}

void settle()
{
    QTest::qWait(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestTemplateDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    // Editor

    void newTemplateStartsFromTheDefaults()
    {
        TemplateEditorDialog editor(m_state, fresh());
        QCOMPARE(editor.windowTitle(), u"New Template"_s);
        QCOMPARE(find<QSpinBox>(&editor, u"templateHours"_s)->value(), 1);
        QCOMPARE(find<QSpinBox>(&editor, u"templateMinutes"_s)->value(), 0);
        QCOMPARE(reminderChoices(&editor), QList<int>({15}));
        QCOMPARE(find<QComboBox>(&editor, u"templateCalendar"_s)->currentText(), u"(use default)"_s);
        QCOMPARE(find<QPushButton>(&editor, u"templateRepeat"_s)->text(), u"Does not repeat"_s);
        QCOMPARE(find<QToolButton>(&editor, u"templateColor"_s)->toolTip(),
                 u"Inherits the calendar's color. Click to override."_s);
        QVERIFY(!find<QPushButton>(&editor, u"useCalendarColor"_s)->isVisibleTo(&editor));
    }

    void duration_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("saved");
        QTest::newRow("0 h 0 m: raised to 15") << 0 << 0 << 15;
        QTest::newRow("0 h 10 m: raised to 15") << 0 << 10 << 15;
        QTest::newRow("0 h 20 m: kept") << 0 << 20 << 20;
        QTest::newRow("1 h 30 m") << 1 << 30 << 90;
        QTest::newRow("24 h") << 24 << 0 << 1440;
    }
    void duration()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        TemplateEditorDialog editor(m_state, standup());
        find<QSpinBox>(&editor, u"templateHours"_s)->setValue(hours);
        find<QSpinBox>(&editor, u"templateMinutes"_s)->setValue(minutes);
        QTest::mouseClick(button(&editor, QDialogButtonBox::Ok), Qt::LeftButton);
        QCOMPARE(editor.QDialog::result(), int(QDialog::Accepted));
        QTEST(editor.result().duration_minutes, "saved");
    }

    void storedDurationShows_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::newRow("95 minutes") << 95 << 1 << 35;
        QTest::newRow("none stored: 0 h 0 m") << 0 << 0 << 0;
        QTest::newRow("two days: 48 hours") << 2880 << 48 << 0;
    }
    void storedDurationShows()
    {
        QFETCH(int, stored);
        EventTemplate t = standup();
        t.duration_minutes = stored;
        TemplateEditorDialog editor(m_state, t);
        QTEST(find<QSpinBox>(&editor, u"templateHours"_s)->value(), "hours");
        QTEST(find<QSpinBox>(&editor, u"templateMinutes"_s)->value(), "minutes");
    }

    void storedReminder_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("choices");
        QTest::newRow("45 minutes: an extra first item") << 45 << u"45 minute(s) before"_s << 9;
        QTest::newRow("180 minutes: in hours") << 180 << u"3 hour(s) before"_s << 9;
        QTest::newRow("2880 minutes: in days") << 2880 << u"2 day(s) before"_s << 9;
        QTest::newRow("an hour: one of the choices") << 60 << u"1 hour before"_s << 8;
        QTest::newRow("at the time: one of the choices") << 0 << u"At time of event"_s << 8;
    }
    void storedReminder()
    {
        QFETCH(int, stored);
        EventTemplate t = standup();
        t.reminders = {stored};
        TemplateEditorDialog editor(m_state, t);
        auto *row = find<QComboBox>(&editor, u"reminder"_s);
        QTEST(row->currentText(), "label");
        QTEST(row->count(), "choices");
        if (row->count() == 9)
            QCOMPARE(row->currentIndex(), 0);
    }

    void remindersAreEditedInPlace()
    {
        EventTemplate t = standup();
        t.reminders = {15, 60};
        TemplateEditorDialog editor(m_state, t);
        QList<QComboBox *> rows = editor.findChildren<QComboBox *>(u"reminder"_s);
        rows.at(1)->setCurrentIndex(rows.at(1)->findData(1440));
        editor.findChildren<QToolButton *>(u"removeReminder"_s).first()->click();
        settle();
        QCOMPARE(reminderChoices(&editor), QList<int>({1440}));
        editor.findChild<QToolButton *>(u"removeReminder"_s)->click();
        settle();
        QVERIFY(find<QLabel>(&editor, u"noReminders"_s));
        click(&editor, u"addReminder"_s);
        settle();
        QVERIFY(!editor.findChild<QLabel *>(u"noReminders"_s));
        QCOMPARE(reminderChoices(&editor), QList<int>({15}));
        QTest::mouseClick(button(&editor, QDialogButtonBox::Ok), Qt::LeftButton);
        QCOMPARE(editor.result().reminders, QList<int>({15}));
    }

    void validation_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("focus");
        QTest::newRow("blank name") << u"   "_s << u"Standup"_s << u"Missing name"_s << u"templateName"_s;
        QTest::newRow("blank title") << u"Standup"_s << u" "_s << u"Missing event title"_s << u"templateTitle"_s;
    }
    void validation()
    {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QString, warning);
        TemplateEditorDialog editor(m_state, fresh());
        ModalScript script;
        script.on(u"New Template"_s, [&](QWidget *w) {
            type(w, u"templateName"_s, name);
            type(w, u"templateTitle"_s, title);
            confirm(w);
        });
        script.answer(warning);
        script.on(u"New Template"_s, [](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        QCOMPARE(editor.exec(), int(QDialog::Rejected));
        QVERIFY(script.done());
        QTEST(editor.focusWidget()->objectName(), "focus");
    }

    void acceptTrimsAndStamps()
    {
        TemplateEditorDialog editor(m_state, fresh());
        type(&editor, u"templateName"_s, u"  Doctor  "_s);
        type(&editor, u"templateTitle"_s, u" Checkup "_s);
        type(&editor, u"templateLocation"_s, u" Clinic "_s);
        QTest::mouseClick(button(&editor, QDialogButtonBox::Ok), Qt::LeftButton);
        const EventTemplate saved = editor.result();
        QCOMPARE(saved.name, u"Doctor"_s);
        QCOMPARE(saved.title, u"Checkup"_s);
        QCOMPARE(saved.location, u"Clinic"_s);
        QCOMPARE(saved.id.size(), 36);
        QVERIFY(saved.created_at.isValid());
        QCOMPARE(saved.updated_at, saved.created_at);
    }

    // List

    void listShowsNameAndTitle()
    {
        EventTemplate untitled = standup();
        untitled.name = u"Blank"_s;
        untitled.title = u""_s;
        QVERIFY(m_state->templates()->insert(untitled));
        QVERIFY(m_state->templates()->insert(standup()));
        ManageTemplatesDialog list(m_state);
        QCOMPARE(rowsOf(&list), QStringList({u"Blank: (no title)"_s, u"Standup: Daily standup"_s}));
    }

    // Created, edited and deleted through the list, then applied in the form.
    void createEditDeleteAndApply()
    {
        ManageTemplatesDialog list(m_state);
        ModalScript script;
        script.on(u"Event Templates"_s, [](QWidget *w) { clickLater(w, u"addTemplate"_s); });
        script.on(u"New Template"_s, [](QWidget *w) {
            type(w, u"templateName"_s, u"Review"_s);
            type(w, u"templateTitle"_s, u"Code review"_s);
            confirm(w);
        });
        script.on(u"Event Templates"_s, [](QWidget *w) {
            auto *rows = w->findChild<QListWidget *>(u"templateList"_s);
            rows->setCurrentRow(0);
            clickLater(w, u"editTemplate"_s);
        });
        script.on(u"Edit Template"_s, [](QWidget *w) {
            type(w, u"templateTitle"_s, u"Weekly code review"_s);
            confirm(w);
        });
        script.on(u"Event Templates"_s, [](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        list.exec();
        QVERIFY(script.done());
        QCOMPARE(rowsOf(&list), QStringList({u"Review: Weekly code review"_s}));
        const QList<EventTemplate> stored = m_state->templates()->getAll();
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored.first().title, u"Weekly code review"_s);

        EventFormDialog form(m_state);
        QTimer::singleShot(50, this, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->actions().size(), 1);
            menu->actions().first()->trigger();
            menu->close();
        });
        click(&form, u"fromTemplate"_s);
        QCOMPARE(find<QLineEdit>(&form, u"title"_s)->text(), u"Weekly code review"_s);
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("left");
        QTest::newRow("No keeps the template") << int(QMessageBox::No) << 1;
        QTest::newRow("Yes leaves a tombstone") << int(QMessageBox::Yes) << 0;
    }
    void deleteAsksFirst()
    {
        QFETCH(int, answer);
        QVERIFY(m_state->templates()->insert(standup()));
        ManageTemplatesDialog list(m_state);
        ModalScript script;
        script.on(u"Event Templates"_s, [](QWidget *w) {
            w->findChild<QListWidget *>(u"templateList"_s)->setCurrentRow(0);
            clickLater(w, u"deleteTemplate"_s);
        });
        script.answer(u"Delete template?"_s, QMessageBox::StandardButton(answer));
        script.on(u"Event Templates"_s, [](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        list.exec();
        QVERIFY(script.done());
        QCOMPARE(script.messageTexts(),
                 QStringList({u"Delete the template \"Standup\"? Events already created from it are unaffected."_s}));
        QTEST(int(m_state->templates()->getAll().size()), "left");
        QCOMPARE(rowsOf(&list).size(), m_state->templates()->getAll().size());
        QCOMPARE(m_state->templates()->getAllIncludingDeleted().size(), 1);
    }

    // A write the store refuses is told, not shown as done.
    void aFailedWriteIsTold_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("add") << u"addTemplate"_s << u"Could not save the template."_s;
        QTest::newRow("edit") << u"editTemplate"_s << u"Could not save the template."_s;
        QTest::newRow("delete") << u"deleteTemplate"_s << u"Could not delete the template."_s;
    }
    void aFailedWriteIsTold()
    {
        QFETCH(QString, button);
        QVERIFY(m_state->templates()->insert(standup()));
        QVERIFY(QSqlQuery(m_state->database()->database()).exec(u"PRAGMA query_only = ON"_s));
        ManageTemplatesDialog list(m_state);
        list.show();
        list.findChild<QListWidget *>(u"templateList"_s)->setCurrentRow(0);
        ModalScript script;
        if (button == "deleteTemplate"_L1)
            script.answer(u"Delete template?"_s, QMessageBox::Yes);
        else
            script.on<TemplateEditorDialog>([](TemplateEditorDialog *w) {
                type(w, u"templateName"_s, u"Review"_s);
                type(w, u"templateTitle"_s, u"Code review"_s);
                confirm(w);
            });
        script.answer(u"Database Error"_s);
        click(&list, button);
        QVERIFY(script.done());
        QTEST(script.messageTexts().constLast(), "message");
    }

    // Edit and OK through the list write only what the user changed, on the
    // row as it is then.
    void untouchedValuesStayAsStored_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("behind"); // while the editor is open
        QTest::addColumn<QString>("location"); // typed; empty: left alone
        QTest::newRow("two days long") << u"duration_minutes = 2880"_s << QString() << QString();
        QTest::newRow("shorter than a new one may be") << u"duration_minutes = 5"_s << QString() << QString();
        QTest::newRow("blanks around texts, a calendar gone")
            << u"name = ' Standup ', description = 'Agenda\n\n', calendar_id = 'cal-gone'"_s << QString() << QString();
        QTest::newRow("retitled elsewhere, a new location")
            << QString() << u"title = 'Synced', reminders = '[5,10]'"_s << u"Room 4"_s;
    }
    void untouchedValuesStayAsStored()
    {
        QFETCH(QString, stored);
        QFETCH(QString, behind);
        QFETCH(QString, location);
        EventTemplate t = standup();
        t.id = u"tpl-1"_s;
        QVERIFY(m_state->templates()->insert(t));
        const StoredRow row{*m_fixture, u"event_templates"_s, t.id,
                            location.isEmpty() ? QStringList()
                                               : QStringList{u"updated_at"_s, u"sync_status"_s, u"location"_s}};
        row.set(u"sync_status = 'synced', updated_at = '2026-01-01T00:00:00Z'"_s);
        row.set(stored);
        QString before;
        ManageTemplatesDialog list(m_state);
        ModalScript script;
        script.on(u"Event Templates"_s, [](QWidget *w) {
            w->findChild<QListWidget *>(u"templateList"_s)->setCurrentRow(0);
            clickLater(w, u"editTemplate"_s);
        });
        script.on(u"Edit Template"_s, [&](QWidget *w) {
            row.set(behind);
            before = row.text();
            if (!location.isEmpty())
                type(w, u"templateLocation"_s, location);
            confirm(w);
        });
        script.on(u"Event Templates"_s, [](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        list.exec();
        QVERIFY(script.done());
        QCOMPARE(row.text(), before);
        QCOMPARE(m_state->templates()->getById(t.id)->location, location.isEmpty() ? t.location : location);
    }

private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

QTEST_MAIN(TestTemplateDialogs)
#include "tst_templatedialogs.moc"
