// Pictures of the event editors for a look at their layout: "New Event"
// filled in, "Edit Event" of an all-day repeating event, the recurrence
// editor's weekly and monthly pages and the recurring-edit scope prompt (of
// an edit and of a deletion), in the light and the dark theme. Run by scripts/screenshots-editors.sh.
//   editorshots OUTPUT_DIR

#include "appresources.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "datetimepicker.h"
#include "eventformdialog.h"
#include "eventrepository.h"
#include "eventwrites.h"
#include "formdriver.h"
#include "modalscript.h"
#include "recurrenceeditdialog.h"
#include "recurringedit.h"
#include "recurringeditscopedialog.h"
#include "shotsupport.h"
#include "testevents.h"
#include "theme.h"
#include "thememanager.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

const QString kWork = u"shots-work"_s;

// Shows the widget at its full height; writes it to `path` unless empty.
bool save(QWidget *widget, const QString &path)
{
    widget->show();
    QApplication::processEvents();
    widget->resize(widget->width(), qMax(widget->height(), widget->sizeHint().height()));
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    if (path.isEmpty())
        return true;
    const bool ok = widget->grab().save(path);
    qInfo("%s %s", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

void seed(AppState *state)
{
    Calendar work;
    work.id = kWork;
    work.account_id = u"personal-local-account"_s;
    work.url = u"local://calendar/"_s + kWork;
    work.name = u"Work"_s;
    work.color = u"#1565C0"_s;
    work.created_at = work.updated_at = QDateTime::currentDateTimeUtc();
    state->calendars()->insert(work);
}

Event allDaySeries(const QString &calendarId)
{
    const QDate first(2026, 3, 2);
    Event e = testEvent(calendarId, u"Quarter planning offsite"_s, QDateTime(first, QTime(0, 0), Qt::LocalTime),
                        QDateTime(first, QTime(0, 0), Qt::LocalTime), u"FREQ=MONTHLY;BYDAY=1MO;COUNT=6"_s);
    e.is_all_day = true;
    e.timezone = u"UTC"_s;
    e.start_time = EventWrites::allDayTime(first);
    e.end_time = EventWrites::allDayTime(first.addDays(2));
    e.location = u"Harbour House, Conference Room B"_s;
    e.description = u"Goals for the quarter, budget review, team dinner on the first evening."_s;
    e.color = u"#8E24AA"_s;
    Attendee bo;
    bo.email = u"bo.chen@example.com"_s;
    bo.name = u"Bo Chen"_s;
    bo.status = u"tentative"_s;
    e.attendees.append(bo);
    e.raw_icalendar = ICalendar::serializeEvent(e);
    return e;
}

bool shoot(AppState *state, const QString &theme, const QDir &out)
{
    state->themeManager()->apply(theme);
    bool ok = true;

    {
        EventFormDialog form(state);
        form.show();
        choose(&form, u"calendar"_s, kWork);
        type(&form, u"title"_s, u"Design review"_s);
        setWhen(&form, u"start"_s, QDateTime(QDate(2026, 3, 4), QTime(14, 0), Qt::LocalTime));
        setWhen(&form, u"end"_s, QDateTime(QDate(2026, 3, 4), QTime(15, 30), Qt::LocalTime));
        addReminder(&form, 10);
        addReminder(&form, 1440);
        addAttendee(&form, u"Ann Lee"_s, u"ann.lee@example.com"_s);
        type(&form, u"location"_s, u"Room 4B"_s);
        typeNotes(&form, u"Walk through the new onboarding flow.\nBring the latest mock-ups."_s);
        ModalScript script;
        script.on(u"Recurrence"_s, [](QWidget *w) {
            click(w, u"weekday5"_s);
            confirm(w);
        });
        find<QPushButton>(&form, u"repeat"_s)->click();
        ModalScript colour;
        colour.on(u"Event color"_s, [](QWidget *w) {
            qobject_cast<QColorDialog *>(w)->setCurrentColor(QColor(0xE6, 0x51, 0x00));
            confirm(w);
        });
        find<QToolButton>(&form, u"colorSwatch"_s)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ok = save(&form, out.filePath(u"new-event-%1.png"_s.arg(theme))) && ok;
    }
    {
        // The start's time list, open, with the form as narrow as it goes.
        EventFormDialog form(state);
        save(&form, QString());
        form.resize(form.minimumSizeHint().width(), form.height());
        QApplication::processEvents();
        QComboBox *times = find<DateTimePicker>(&form, u"start"_s)->timeCombo();
        times->setCurrentIndex(54); // 13:30
        times->showPopup();
        QApplication::processEvents();
        const QString path = out.filePath(u"time-list-%1.png"_s.arg(theme));
        const bool saved = times->view()->window()->grab().save(path);
        qInfo("%s %s", saved ? "wrote" : "could not write", qPrintable(path));
        ok = saved && ok;
        times->hidePopup();
    }
    {
        EventFormDialog form(state, allDaySeries(kWork));
        ok = save(&form, out.filePath(u"edit-event-allday-%1.png"_s.arg(theme))) && ok;
    }
    {
        RecurrenceEditDialog weekly(u"FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,WE,FR;COUNT=10"_s, QDate(2026, 3, 2), Qt::Monday);
        ok = save(&weekly, out.filePath(u"recurrence-weekly-%1.png"_s.arg(theme))) && ok;
    }
    {
        RecurrenceEditDialog monthly(u"FREQ=MONTHLY;BYDAY=-1FR;UNTIL=20261231T225959Z"_s, QDate(2026, 3, 27),
                                     Qt::Monday);
        monthly.setSeriesZone(QTimeZone("Europe/Berlin"));
        ok = save(&monthly, out.filePath(u"recurrence-monthly-%1.png"_s.arg(theme))) && ok;
    }
    {
        RecurringEditScopeDialog prompt(u"Weekly design review"_s);
        ok = save(&prompt, out.filePath(u"scope-prompt-%1.png"_s.arg(theme))) && ok;
    }
    {
        RecurringEditScopeDialog prompt(u"Weekly design review"_s, nullptr, RecurringEditScopeDialog::Purpose::Delete);
        ok = save(&prompt, out.filePath(u"scope-prompt-delete-%1.png"_s.arg(theme))) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDir out;
    if (const int failed = ShotSupport::outputDir(argc, argv, "editorshots", &out))
        return failed;
    const ShotSupport::Home home;
    AppState state;
    if (!state.initialize())
        return 1;
    seed(&state);
    const bool ok = shoot(&state, u"light"_s, out) && shoot(&state, u"dark"_s, out);
    return ok ? 0 : 1;
}
