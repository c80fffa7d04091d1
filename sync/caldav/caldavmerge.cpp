#include "caldavmerge.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "canonicalcalendarkey.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

namespace CalDavParse {

int mergeDiscoveredCalendars(AppState *appState, const QString &accountId, const QList<DiscoveredCalendar> &calendars)
{
    if (!appState || !appState->calendars() || accountId.isEmpty())
        return 0;
    CalendarRepository *repository = appState->calendars();
    const std::optional<Account> account = appState->accounts() ? appState->accounts()->getById(accountId)
                                                                : std::nullopt;
    QHash<QString, Calendar> byUrl;
    const QList<Calendar> local = repository->getByAccount(accountId);
    for (const Calendar &calendar : local)
        byUrl.insert(calendar.url, calendar);

    int added = 0;
    for (const DiscoveredCalendar &found : calendars) {
        const QString components = QString::fromUtf8(
            QJsonDocument(QJsonArray::fromStringList(found.components)).toJson(QJsonDocument::Compact));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const auto known = byUrl.constFind(found.href);
        if (known != byUrl.cend()) {
            Calendar calendar = known.value();
            const bool placeholder = !calendar.sync_enabled && calendar.is_read_only
                && !calendar.canonical_key.isEmpty();
            if (!placeholder) {
                // The server may have granted or taken away the right to write.
                if (calendar.sync_enabled && calendar.is_read_only != found.readOnly) {
                    calendar.is_read_only = found.readOnly;
                    calendar.updated_at = now;
                    repository->update(calendar);
                }
                continue;
            }
            calendar.name = found.displayName;
            calendar.description = found.description;
            if (!found.color.isEmpty())
                calendar.color = found.color;
            calendar.supported_components = components;
            calendar.is_read_only = found.readOnly;
            calendar.sync_enabled = true;
            calendar.updated_at = now;
            if (repository->update(calendar))
                byUrl.insert(calendar.url, calendar);
            continue;
        }

        Calendar calendar;
        calendar.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        calendar.account_id = accountId;
        calendar.url = found.href;
        calendar.name = found.displayName;
        calendar.description = found.description;
        calendar.color = found.color.isEmpty() ? QStringLiteral("#4285F4") : found.color;
        calendar.timezone = QStringLiteral("UTC");
        calendar.is_visible = true;
        calendar.is_read_only = found.readOnly;
        calendar.is_default = repository->getAll().isEmpty();
        calendar.supported_components = components;
        calendar.sort_order = 0;
        if (account)
            calendar.canonical_key = canonicalCalendarKey(account->type, found.href).value_or(QString());
        calendar.sync_enabled = true;
        calendar.created_at = now;
        calendar.updated_at = now;
        if (repository->insert(calendar)) {
            ++added;
            // The same collection listed twice is still one calendar.
            byUrl.insert(calendar.url, calendar);
        }
    }
    return added;
}

} // namespace CalDavParse
