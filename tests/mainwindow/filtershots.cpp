// Pictures of the filter and calendar group dialogs for a look at their
// layout: the filter form on each of its four pages, "Manage Filters",
// "Manage Calendar Groups", the group form and the agenda's context menu on
// a dimmed row, in the light and the dark theme. Run by
// scripts/screenshots-filters.sh.
//   filtershots OUTPUT_DIR

#include "appresources.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "filterformdialog.h"
#include "filterrulerepository.h"
#include "managefiltersdialog.h"
#include "manageviewsdialog.h"
#include "shotsupport.h"
#include "theme.h"
#include "thememanager.h"
#include "trayfixture.h"
#include "viewformdialog.h"
#include "viewrepository.h"
#include "weekagenda.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool save(const QPixmap &picture, const QString &path)
{
    const bool ok = picture.save(path);
    qInfo("%s %s", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

bool save(QWidget *widget, const QString &path)
{
    widget->show();
    settle();
    // A window opens at most two thirds of the screen high; the picture
    // shows the whole form.
    widget->resize(widget->width(), qMax(widget->height(), widget->sizeHint().height()));
    settle();
    return save(widget->grab(), path);
}

Calendar calendar(const QString &id, const QString &name, const QString &color, bool visible = true)
{
    Calendar c;
    c.id = id;
    c.account_id = u"personal-local-account"_s;
    c.url = u"local://calendar/"_s + id;
    c.name = name;
    c.color = color;
    c.is_visible = visible;
    c.created_at = c.updated_at = QDateTime::currentDateTimeUtc();
    return c;
}

FilterRule rule(const QString &name, const QString &type, const QString &conditions, const QString &action,
                bool enabled = true)
{
    FilterRule r;
    r.id = name;
    r.name = name;
    r.type = type;
    r.conditions = conditions;
    r.action = action;
    r.enabled = enabled;
    r.created_at = r.updated_at = QDateTime::currentDateTimeUtc();
    return r;
}

CalendarView group(const QString &id, const QString &name, const QString &color, const QString &ids, int order)
{
    CalendarView v;
    v.id = id;
    v.name = name;
    v.color = color;
    v.calendar_ids = ids;
    v.sort_order = order;
    v.created_at = v.updated_at = QDateTime::currentDateTimeUtc();
    return v;
}

QDateTime at(int days, int hour)
{
    return QDateTime(QDate::currentDate().addDays(days), QTime(hour, 0));
}

QString seed(AppState *state)
{
    state->calendars()->insert(calendar(u"shots-work"_s, u"Work"_s, u"#1565C0"_s));
    state->calendars()->insert(calendar(u"shots-family"_s, u"Family"_s, u"#2E7D32"_s));
    state->calendars()->insert(calendar(u"shots-archive"_s, u"Archive"_s, u"#6D4C41"_s, false));
    addEvent(state, EventDraft(u"Daily standup"_s, at(1, 9), at(1, 9).addSecs(900)).repeating(u"FREQ=DAILY"_s));
    const QString lunch = addEvent(state, EventDraft(u"Team lunch"_s, at(0, 12), at(0, 13)));
    addEvent(state, EventDraft(u"Dentist"_s, at(2, 15), at(2, 16)));
    addEvent(state,
             EventDraft(u"Ann's birthday"_s, utcDate(QDate::currentDate().addDays(3)),
                        utcDate(QDate::currentDate().addDays(4)))
                 .wholeDay());
    state->filterRules()->insert(
        rule(u"Standups"_s, u"pattern"_s, uR"({"runtimeType":"pattern","titleContains":["standup"]})"_s, u"hide"_s));
    state->filterRules()->insert(
        rule(u"Lunches"_s, u"pattern"_s, uR"({"runtimeType":"pattern","titleContains":["lunch"]})"_s, u"dim"_s));
    state->filterRules()->insert(
        rule(u"Birthdays"_s, u"all_day"_s, uR"({"recurringOnly":false,"runtimeType":"allDay"})"_s, u"dim"_s, false));
    state->views()->insert(group(u"g-work"_s, u"Work"_s, u"#1565c0"_s, uR"(["shots-work"])"_s, 1));
    state->views()->insert(group(u"g-home"_s, u"Home"_s, QString(), uR"(["shots-family","shots-archive"])"_s, 2));
    return lunch;
}

void check(QWidget *form, const QString &name)
{
    form->findChild<QAbstractButton *>(name)->setChecked(true);
}

bool shoot(AppState *state, const QString &lunch, const QString &theme, const QDir &out)
{
    state->themeManager()->apply(theme);
    bool ok = true;
    const auto file = [&](const QString &name) { return out.filePath(u"%1-%2.png"_s.arg(name, theme)); };
    {
        FilterFormDialog form(state);
        form.findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Hide standups"_s);
        form.findChild<QLineEdit *>(u"phraseEdit"_s)->setText(u"standup, sync"_s);
        auto *list = form.findChild<QListWidget *>(u"calendarChecklist"_s);
        list->findItems(u"Personal"_s, Qt::MatchEndsWith).first()->setCheckState(Qt::Checked);
        ok = save(&form, file(u"filter-pattern"_s)) && ok;
    }
    {
        FilterFormDialog form(state);
        form.show();
        form.findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Dim early meetings"_s);
        form.findChild<QToolButton *>(u"type_time"_s)->click();
        check(&form, u"timeRangeCheck"_s);
        form.findChild<QTimeEdit *>(u"rangeStartEdit"_s)->setTime(QTime(6, 0));
        form.findChild<QTimeEdit *>(u"rangeEndEdit"_s)->setTime(QTime(8, 30));
        check(&form, u"day_mon"_s);
        check(&form, u"day_fri"_s);
        auto *action = form.findChild<QComboBox *>(u"actionCombo"_s);
        action->setCurrentIndex(action->findData(u"dim"_s));
        check(&form, u"suppressCheck"_s);
        ok = save(&form, file(u"filter-time"_s)) && ok;
    }
    {
        FilterFormDialog form(state);
        form.setSpecificEvent(*state->events()->getById(lunch));
        ok = save(&form, file(u"filter-specific"_s)) && ok;
    }
    {
        FilterFormDialog form(state);
        form.show();
        form.findChild<QLineEdit *>(u"nameEdit"_s)->setText(u"Dim all-day events"_s);
        form.findChild<QToolButton *>(u"type_all_day"_s)->click();
        check(&form, u"allDayRecurringOnlyCheck"_s);
        ok = save(&form, file(u"filter-allday"_s)) && ok;
    }
    {
        // A rule made elsewhere: a kind this version does not know, over
        // calendars deleted since.
        FilterRule rule;
        rule.id = u"shot-unknown"_s;
        rule.name = u"Far away"_s;
        rule.type = u"distance"_s;
        rule.conditions = uR"({"km":50,"runtimeType":"distance"})"_s;
        rule.calendar_ids = uR"(["cal-deleted"])"_s;
        FilterFormDialog form(state, rule);
        ok = save(&form, file(u"filter-unknown-gone"_s)) && ok;
    }
    {
        ManageFiltersDialog dialog(state);
        dialog.list()->setCurrentRow(1);
        ok = save(&dialog, file(u"manage-filters"_s)) && ok;
    }
    {
        ManageViewsDialog dialog(state);
        dialog.list()->setCurrentRow(1);
        ok = save(&dialog, file(u"manage-groups"_s)) && ok;
    }
    {
        ViewFormDialog form(state, *state->views()->getById(u"g-work"_s));
        ok = save(&form, file(u"group-form"_s)) && ok;
    }
    {
        ViewFormDialog form(state);
        ok = save(&form, file(u"group-form-new"_s)) && ok;
    }
    {
        CalendarView group = *state->views()->getById(u"g-work"_s);
        group.calendar_ids = uR"(["cal-deleted"])"_s;
        ViewFormDialog form(state, group);
        ok = save(&form, file(u"group-form-gone"_s)) && ok;
    }
    {
        WeekAgenda agenda(state);
        agenda.resize(520, 420);
        agenda.show();
        settle();
        QListWidgetItem *row = nullptr;
        for (int i = 0; i < agenda.list()->count() && !row; ++i) {
            if (agenda.list()->item(i)->data(Qt::UserRole).toString() == lunch)
                row = agenda.list()->item(i);
        }
        if (!row)
            return false;
        agenda.list()->setCurrentItem(row);
        std::unique_ptr<QMenu> menu(agenda.contextMenuFor(row));
        menu->popup(QPoint(0, 0));
        settle();
        QPixmap picture = agenda.grab();
        const QRect rowRect = agenda.list()->visualItemRect(row);
        const QPoint where = agenda.list()->viewport()->mapTo(&agenda, rowRect.center());
        QPainter painter(&picture);
        painter.drawPixmap(where, menu->grab());
        painter.end();
        menu->hide();
        ok = save(picture, file(u"agenda-context-menu"_s)) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QDir out;
    if (const int failed = ShotSupport::outputDir(argc, argv, "filtershots", &out))
        return failed;
    const ShotSupport::Home home;
    AppState state;
    if (!state.initialize())
        return 1;
    const QString lunch = seed(&state);
    const bool ok = shoot(&state, lunch, u"light"_s, out) && shoot(&state, lunch, u"dark"_s, out);
    return ok ? 0 : 1;
}
