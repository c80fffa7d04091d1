#include "eventaccess.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "recordnames.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace EventAccess {

QString readOnlyReason(const Calendar &calendar, const QString &accountType)
{
    // A feed is only ever read: a change made here would never reach it and
    // would be gone at the next refresh.
    if (accountType == AccountType::Webcal)
        return QCoreApplication::translate("EventAccess", "Events of a subscribed calendar can't be changed.");
    // The server refuses writes to it: a change made here would never leave.
    if (calendar.is_read_only)
        return QCoreApplication::translate("EventAccess", "\"%1\" is read-only: its events cannot be changed here.")
            .arg(calendar.name);
    return {};
}

QString readOnlyReason(const AppState *state, const Calendar &calendar)
{
    std::optional<Account> account;
    if (state && state->accounts())
        account = state->accounts()->getById(calendar.account_id);
    return readOnlyReason(calendar, account ? account->type : QString());
}

QString readOnlyReason(const AppState *state, const QString &calendarId)
{
    if (!state || !state->calendars() || calendarId.isEmpty())
        return {};
    const std::optional<Calendar> calendar = state->calendars()->getById(calendarId);
    return calendar ? readOnlyReason(state, *calendar) : QString();
}

} // namespace EventAccess
