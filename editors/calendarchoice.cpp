#include "calendarchoice.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "eventaccess.h"
#include "theme.h"

#include <QComboBox>
#include <QHash>

#include <algorithm>

namespace CalendarChoice {

namespace {

QHash<QString, QString> accountNames(const AppState *state)
{
    QHash<QString, QString> names;
    if (state->accounts()) {
        for (const Account &account : state->accounts()->getAll())
            names.insert(account.id, account.name);
    }
    return names;
}

// "account / calendar", or the calendar's name alone when its account has
// no name.
QString label(const Calendar &calendar, const QHash<QString, QString> &accountNames)
{
    const QString account = accountNames.value(calendar.account_id);
    return account.isEmpty() ? calendar.name : QStringLiteral("%1 / %2").arg(account, calendar.name);
}

} // namespace

QList<Calendar> fill(QComboBox *combo, const AppState *state, const QString &ownCalendarId)
{
    if (!state || !state->calendars())
        return {};
    QList<Calendar> calendars;
    for (const Calendar &calendar : state->calendars()->getAll()) {
        if ((calendar.is_visible && EventAccess::readOnlyReason(state, calendar).isEmpty())
            || calendar.id == ownCalendarId)
            calendars.append(calendar);
    }
    const QHash<QString, QString> names = accountNames(state);
    std::sort(calendars.begin(), calendars.end(), [&names](const Calendar &a, const Calendar &b) {
        return QString::localeAwareCompare(label(a, names), label(b, names)) < 0;
    });
    for (const Calendar &calendar : std::as_const(calendars))
        combo->addItem(Theme::colorDotIcon(calendar.color), label(calendar, names), calendar.id);
    return calendars;
}

bool add(QComboBox *combo, const AppState *state, const QString &calendarId)
{
    if (!state || !state->calendars())
        return false;
    const std::optional<Calendar> calendar = state->calendars()->getById(calendarId);
    if (!calendar)
        return false;
    combo->addItem(Theme::colorDotIcon(calendar->color), label(*calendar, accountNames(state)), calendar->id);
    return true;
}

} // namespace CalendarChoice
