// Pictures of the task and calendar forms for a look at their layout: "New
// Task" as a subtask, the week agenda with its task rows and a series, the
// details a row opens, and the calendar form waiting for its server and after
// a refusal, in the light and the dark theme. Run by
// scripts/screenshots-tasks.sh.
//   taskshots OUTPUT_DIR

#include "accountrepository.h"
#include "appstate.h"
#include "calendarformdialog.h"
#include "calendarrepository.h"
#include "environment.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "formdriver.h"
#include "icalendar.h"
#include "scriptedhttpserver.h"
#include "shotsupport.h"
#include "taskformdialog.h"
#include "taskrepository.h"
#include "theme.h"
#include "thememanager.h"
#include "tokenstore.h"
#include "weekagenda.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTcpServer>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;
const QDate kMonday(2026, 3, 2);

Task task(const QString &title, const QDateTime &due, bool dateOnly, bool done = false)
{
    Task t;
    t.id = t.uid = u"shot-"_s + title.toLower().replace(u' ', u'-');
    t.calendar_id = kPersonal;
    t.title = title;
    t.due_date = due;
    t.due_is_date_only = dateOnly;
    if (done) {
        t.status = u"completed"_s;
        t.percent_complete = 100;
        t.completed_date = QDateTime::currentDateTimeUtc();
    }
    t.created = t.last_modified = QDateTime::currentDateTimeUtc();
    t.raw_icalendar = ICalendar::serializeTask(t);
    return t;
}

void seed(AppState *state, const QUrl &silentServer)
{
    const QList<Task> tasks = {
        task(u"Prep Q1 report"_s, QDateTime(kMonday.addDays(1), QTime(9, 30)), false),
        task(u"Pay rent"_s, QDateTime(kMonday.addDays(2), QTime(0, 0)), true, true),
        task(u"Buy birthday gift"_s, QDateTime(kMonday.addDays(4), QTime(17, 0)), false),
    };
    for (const Task &t : tasks)
        state->tasks()->insert(t);
    Event standup;
    standup.id = standup.uid = u"shot-standup"_s;
    standup.calendar_id = kPersonal;
    standup.title = u"Standup"_s;
    standup.start_time = QDateTime(kMonday.addDays(-60), QTime(9, 0));
    standup.end_time = standup.start_time.addSecs(900);
    standup.recurrence_rule = u"FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"_s;
    standup.created = standup.last_modified = QDateTime::currentDateTimeUtc();
    standup.raw_icalendar = ICalendar::serializeEvent(standup);
    state->events()->insert(standup);
    Account account;
    account.id = u"shot-dav"_s;
    account.name = u"Team server"_s;
    account.type = u"caldav"_s;
    account.server_url = silentServer.toString();
    account.username = u"alice"_s;
    account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
    state->accounts()->insert(account);
    if (auto store = TolmAccount::createTokenStore(appIdentifier()))
        store->save(u"caldav-password-shot-dav"_s, u"secret"_s);
    state->setCurrentDate(kMonday.addDays(2));
}

bool shoot(AppState *state, const QString &theme, const QDir &out)
{
    state->themeManager()->apply(theme);
    bool ok = true;
    {
        TaskFormDialog form(state);
        form.setParentTaskUid(u"shot-prep-q1-report"_s);
        form.setCalendarId(kPersonal);
        form.show();
        type(&form, u"title"_s, u"Collect sales figures"_s);
        click(&form, u"hasDue"_s);
        setWhen(&form, u"due"_s, QDateTime(kMonday, QTime(16, 0)));
        choose(&form, u"priority"_s, 1);
        type(&form, u"categories"_s, u"Work, Q1"_s);
        ok = ShotSupport::save(&form, out.filePath(u"new-subtask-%1.png"_s.arg(theme))) && ok;
    }
    {
        WeekAgenda agenda(state);
        agenda.resize(420, 360);
        ok = ShotSupport::save(&agenda, out.filePath(u"agenda-tasks-%1.png"_s.arg(theme))) && ok;
        // A row opens its own occurrence's details: Thursday's.
        const QList<QListWidgetItem *> rows = agenda.list()->findItems(u"Standup"_s, Qt::MatchContains);
        if (rows.size() > 3) {
            QTest::mouseClick(agenda.list()->viewport(), Qt::LeftButton, {},
                              agenda.list()->visualItemRect(rows.at(3)).center());
            if (auto *card = agenda.findChild<EventDetailsPopover *>())
                ok = ShotSupport::save(card, out.filePath(u"agenda-details-%1.png"_s.arg(theme))) && ok;
            EventDetailsPopover::closeOpen();
        }
    }
    {
        const std::optional<Account> account = state->accounts()->getById(u"shot-dav"_s);
        CalendarFormDialog form(state, *account);
        form.setChosenColor(u"#2e7d32"_s);
        form.show();
        type(&form, u"name"_s, u"Team"_s);
        if (QPushButton *okButton = button(&form, QDialogButtonBox::Ok))
            okButton->click();
        ok = ShotSupport::save(&form, out.filePath(u"calendar-form-busy-%1.png"_s.arg(theme))) && ok;
        // The form stays until its request ends: a silent server never
        // answers, so the client goes with the form.
    }
    {
        // A refusal's cause takes two lines: the form grows to show them.
        ScriptedHttpServer refusing;
        refusing.start();
        refusing.expect("MKCALENDAR", "/dav/*").reply(409);
        Account account = *state->accounts()->getById(u"shot-dav"_s);
        account.server_url = refusing.url(u"/dav/"_s).toString();
        CalendarFormDialog form(state, account);
        form.setChosenColor(u"#fdd835"_s);
        form.show();
        type(&form, u"name"_s, u"Team"_s);
        if (QPushButton *okButton = button(&form, QDialogButtonBox::Ok))
            okButton->click();
        ok = QTest::qWaitFor([&form] { return !form.isBusy(); }, 20000) && ok;
        ok = ShotSupport::save(&form, out.filePath(u"calendar-form-refused-%1.png"_s.arg(theme))) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDir out;
    if (const int failed = ShotSupport::outputDir(argc, argv, "taskshots", &out))
        return failed;

    // Takes connections and never answers, so the calendar form stays busy.
    QTcpServer silent;
    if (!silent.listen(QHostAddress::LocalHost))
        return 1;

    const ShotSupport::Home home;
    AppState state;
    if (!state.initialize())
        return 1;
    seed(&state, QUrl(u"http://127.0.0.1:%1/dav/"_s.arg(silent.serverPort())));
    const bool ok = shoot(&state, u"light"_s, out) && shoot(&state, u"dark"_s, out);
    return ok ? 0 : 1;
}
