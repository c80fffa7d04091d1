#include "syncclient.h"

#include "accountrepository.h"
#include "apiclient.h"
#include "calendarrepository.h"
#include "canonicalcalendarkey.h"
#include "cloudlog.h"
#include "recordnames.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTimer>
#include <QUuid>

#include <optional>

using namespace Qt::StringLiterals;

namespace Quillmarten {

namespace {

struct ListedCalendar
{
    QString serverId;
    QString name;
    QString color;
};

// GET <sync API>/calendars answers
//   {"calendars": [{"id": "5b0c1f3e", "name": "Family", "color": "#E67C73"}, ...]}
// An entry without a non-empty string "id" is skipped; name and colour are
// optional. Nothing when the shape is not that.
std::optional<QList<ListedCalendar>> parseCalendarList(const QJsonDocument &document)
{
    const QJsonValue list = document.object().value("calendars"_L1);
    if (!list.isArray())
        return std::nullopt;
    QList<ListedCalendar> result;
    for (const QJsonValue &value : list.toArray()) {
        const QJsonObject entry = value.toObject();
        ListedCalendar calendar{entry.value("id"_L1).toString(), entry.value("name"_L1).toString(),
                                entry.value("color"_L1).toString()};
        if (!calendar.serverId.isEmpty())
            result.append(calendar);
    }
    return result;
}

} // namespace

QString SyncClient::cloudAccountId()
{
    return u"quillmarten-cloud-account"_s;
}

QString SyncClient::calendarUrl(const QString &serverId)
{
    return u"quillmarten://"_s + serverId;
}

SyncClient::SyncClient(QObject *appState, TolmAccount::ApiClient *api, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_api(api)
{
}

void SyncClient::reportLater(int count)
{
    QTimer::singleShot(0, this, [this, count] { Q_EMIT calendarListPulled(count); });
}

void SyncClient::pullCalendarList()
{
    if (!m_api) {
        qCWarning(lcConfigSync) << "[CloudSync] no sync API client; calendar list not pulled";
        reportLater(0);
        return;
    }
    m_api->get(u"/calendars"_s, this, [this](const TolmAccount::ApiResponse &response) {
        const std::optional<QList<ListedCalendar>> listed = response.ok() ? parseCalendarList(response.body)
                                                                          : std::nullopt;
        if (!listed) {
            qCWarning(lcConfigSync) << "[CloudSync] calendar list failed:"
                                    << (response.ok() ? u"unexpected answer"_s : response.error);
            Q_EMIT calendarListPulled(0);
            return;
        }
        auto *accounts = m_appState ? m_appState->findChild<AccountRepository *>() : nullptr;
        auto *calendars = m_appState ? m_appState->findChild<CalendarRepository *>() : nullptr;
        if (!accounts || !calendars) {
            qCWarning(lcConfigSync) << "[CloudSync] no calendar store; calendar list dropped";
            Q_EMIT calendarListPulled(0);
            return;
        }

        QSet<QString> knownUrls;
        for (const Calendar &calendar : calendars->getAll())
            knownUrls.insert(calendar.url);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        int added = 0;
        for (const ListedCalendar &entry : *listed) {
            const QString url = calendarUrl(entry.serverId);
            if (knownUrls.contains(url))
                continue;
            if (!accounts->getById(cloudAccountId())) {
                Account account;
                account.id = cloudAccountId();
                account.name = u"Quillmarten"_s;
                account.type = AccountType::Quillmarten;
                account.sync_interval_minutes = 0;
                account.created_at = account.updated_at = now;
                if (!accounts->insert(account)) {
                    qCWarning(lcConfigSync) << "[CloudSync] could not create the cloud account";
                    break;
                }
            }
            Calendar calendar;
            calendar.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            calendar.account_id = cloudAccountId();
            calendar.url = url;
            calendar.name = entry.name.isNull() ? QString(QLatin1String("")) : entry.name; // NOT NULL
            static const QRegularExpression hexColor(u"^#[0-9A-Fa-f]{6}$"_s);
            if (hexColor.match(entry.color).hasMatch())
                calendar.color = entry.color;
            calendar.canonical_key = canonicalCalendarKey(AccountType::Quillmarten, url).value_or(QString());
            calendar.sync_enabled = true;
            calendar.created_at = calendar.updated_at = now;
            if (calendars->insert(calendar)) {
                knownUrls.insert(url);
                ++added;
            }
        }
        qCInfo(lcConfigSync) << "[CloudSync] calendar list:" << listed->size() << "listed," << added << "added";
        Q_EMIT calendarListPulled(int(listed->size()));
    });
}

} // namespace Quillmarten
