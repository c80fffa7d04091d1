#include "accountconfig.h"

#include "environment.h"

using namespace Qt::StringLiterals;

namespace {

const auto kApiHost = u"https://api.quillmarten.example"_s;

QString fromEnvironment(const char *name, const QString &fallback)
{
    const QString value = QString::fromUtf8(qgetenv(name));
    return value.isEmpty() ? fallback : value;
}

} // namespace

TolmAccount::ClientConfig accountClientConfig()
{
    TolmAccount::ClientConfig config;
    config.identityBaseUrl = fromEnvironment("AUTH_API_URL", u"https://id.quillmarten.example"_s);
    config.realmSlug = fromEnvironment("AUTH_REALM_SLUG", u"quillmarten"_s);
    config.accountApiBaseUrl = fromEnvironment("ACCOUNT_API_URL", kApiHost + u"/account/v1"_s);
    config.clientId = fromEnvironment("AUTH_CLIENT_ID", u"9d2f4b7a1c3e5f80a6b8c0d2e4f61739"_s);
    config.applicationIdentifier = appIdentifier();
    config.displayName = u"Quillmarten Calendar"_s;
    config.version = QString::fromLatin1(CALENDAR_VERSION);
    config.accountPortalBaseUrl = fromEnvironment("ACCOUNT_PORTAL_URL", u"https://account.quillmarten.example"_s);
    return config;
}

QUrl calendarSyncApiBaseUrl()
{
    return QUrl(fromEnvironment("SYNC_API_URL", kApiHost + u"/calendar/v1"_s));
}
