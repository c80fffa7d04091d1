// Pictures of the template list and editor, the quick-add window with its
// preview and the search dialog with results, in the light and the dark
// theme, for a look at their layout. Run by scripts/screenshots-editors.sh.
//   dialogshots OUTPUT_DIR

#include "appresources.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "managetemplatesdialog.h"
#include "quickadddialog.h"
#include "searchdialog.h"
#include "shotsupport.h"
#include "templateeditordialog.h"
#include "templaterepository.h"
#include "testevents.h"
#include "theme.h"
#include "thememanager.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

const QString kWork = u"shots-work"_s;

bool save(QWidget *widget, const QString &path)
{
    widget->show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const bool ok = widget->grab().save(path);
    qInfo("%s %s", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

EventTemplate preset(const QString &name, const QString &title, const QString &color, QList<int> reminders)
{
    EventTemplate t;
    t.name = name;
    t.title = title;
    t.color = color;
    t.reminders = std::move(reminders);
    return t;
}

void seed(AppState *state)
{
    Calendar work;
    work.id = kWork;
    work.account_id = u"personal-local-account"_s;
    work.url = u"local://calendar/"_s + kWork;
    work.name = u"Work"_s;
    work.color = u"#1565C0"_s;
    work.is_visible = true;
    work.created_at = work.updated_at = QDateTime::currentDateTimeUtc();
    state->calendars()->insert(work);

    EventTemplate standup = preset(u"Standup"_s, u"Team standup"_s, u"#2E7D32"_s, {5});
    standup.duration_minutes = 15;
    standup.recurrence_rule = u"FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"_s;
    standup.calendar_id = kWork;
    state->templates()->insert(standup);
    EventTemplate doctor = preset(u"Doctor visit"_s, u"Doctor"_s, QString(), {60, 1440});
    doctor.location = u"Health Centre, 2nd floor"_s;
    state->templates()->insert(doctor);
    state->templates()->insert(preset(u"Focus block"_s, QStringLiteral(""), u"#EF6C00"_s, {}));

    const QDate today = QDate::currentDate();
    const auto add =
        [state](const QString &calendar, const QString &title, const QDate &day, int hour, const QString &location) {
        Event e = testEvent(calendar, title, QDateTime(day, QTime(hour, 0)), QDateTime(day, QTime(hour + 1, 0)));
        e.location = location;
        state->events()->insert(e);
    };
    add(kWork, u"Lunch with the design team"_s, today.addDays(-12), 12, u"Canteen"_s);
    add(u"quillmarten-personal-default"_s, u"Lunch with Ann"_s, today.addDays(2), 13, u"Café Lumen"_s);
    add(kWork, u"Lunch and learn: accessibility"_s, today.addDays(9), 12, QString());
    // A series that began long ago is listed at its next occurrence.
    const QDate began = today.addDays(-60);
    Event walk = testEvent(kWork, u"Lunch walk"_s, QDateTime(began, QTime(12, 30)), QDateTime(began, QTime(13, 0)),
                           u"FREQ=WEEKLY;BYDAY=TU,TH"_s);
    walk.location = u"Riverside"_s;
    state->events()->insert(walk);
}

bool shoot(AppState *state, const QString &theme, const QDir &out)
{
    state->themeManager()->apply(theme);
    bool ok = true;
    {
        ManageTemplatesDialog list(state);
        ok = save(&list, out.filePath(u"templates-%1.png"_s.arg(theme))) && ok;
    }
    {
        const QList<EventTemplate> all = state->templates()->getAll();
        const auto standup = std::find_if(all.cbegin(), all.cend(),
                                          [](const EventTemplate &t) { return t.name == u"Standup"_s; });
        TemplateEditorDialog editor(state, standup == all.cend() ? EventTemplate() : *standup);
        ok = save(&editor, out.filePath(u"template-editor-%1.png"_s.arg(theme))) && ok;
    }
    {
        QuickAddDialog quickAdd(state);
        quickAdd.show();
        QTest::keyClicks(quickAdd.findChild<QLineEdit *>(u"quickAddInput"_s),
                         u"Dinner with Sam friday from 7pm to 9pm"_s);
        ok = save(&quickAdd, out.filePath(u"quick-add-%1.png"_s.arg(theme))) && ok;
        // A preview of several lines: the window grows to show all of them.
        QLineEdit *input = quickAdd.findChild<QLineEdit *>(u"quickAddInput"_s);
        input->clear();
        QTest::keyClicks(input, u"Lunch with Ana and the product design team about the spring offsite friday 12:30"_s);
        ok = save(&quickAdd, out.filePath(u"quick-add-long-%1.png"_s.arg(theme))) && ok;
    }
    {
        SearchDialog search(state);
        search.show();
        QTest::keyClicks(search.findChild<QLineEdit *>(u"searchInput"_s), u"lunch"_s);
        QListWidget *results = search.findChild<QListWidget *>(u"searchResults"_s);
        // A search that finds nothing would shoot an empty list as if it were the dialog's look.
        if (!QTest::qWaitFor([results] { return results->count() > 0; }, 2000)) {
            qWarning("search found nothing to shoot");
            ok = false;
        } else {
            results->setCurrentRow(1);
            ok = save(&search, out.filePath(u"search-%1.png"_s.arg(theme))) && ok;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDir out;
    if (const int failed = ShotSupport::outputDir(argc, argv, "dialogshots", &out))
        return failed;
    // English plural forms come from their translation file.
    QTranslator english;
    if (english.load(AppResources::translationPath(u"en"_s)))
        QCoreApplication::installTranslator(&english);
    const ShotSupport::Home home;
    AppState state;
    if (!state.initialize())
        return 1;
    seed(&state);
    const bool ok = shoot(&state, u"light"_s, out) && shoot(&state, u"dark"_s, out);
    return ok ? 0 : 1;
}
