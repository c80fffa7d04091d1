#include "providerconfig.h"

#include <QProcessEnvironment>

using namespace Qt::StringLiterals;

namespace {

QString setting(const QProcessEnvironment &env, const QString &name, const QString &fallback = {})
{
    const QString value = env.value(name).trimmed();
    return value.isEmpty() ? fallback : value;
}

QUrl endpoint(const QProcessEnvironment &env, const QString &name, const QString &fallback)
{
    return QUrl(setting(env, name, fallback), QUrl::StrictMode);
}

QString withoutTrailingSlash(QString text)
{
    while (text.endsWith(u'/'))
        text.chop(1);
    return text;
}

} // namespace

QUrl ProviderConfig::microsoftAuthorizationEndpoint() const
{
    return QUrl(
        u"%1/%2/oauth2/v2.0/authorize"_s.arg(withoutTrailingSlash(microsoftAuthority.toString()), microsoftTenant));
}

QUrl ProviderConfig::microsoftTokenEndpoint() const
{
    return QUrl(u"%1/%2/oauth2/v2.0/token"_s.arg(withoutTrailingSlash(microsoftAuthority.toString()), microsoftTenant));
}

ProviderConfig ProviderConfig::fromEnvironment()
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    ProviderConfig config;
    config.googleAuthorizationEndpoint = endpoint(env, u"CALENDAR_GOOGLE_AUTH_URL"_s,
                                                  u"https://accounts.google.com/o/oauth2/v2/auth"_s);
    config.googleTokenEndpoint = endpoint(env, u"CALENDAR_GOOGLE_TOKEN_URL"_s,
                                          u"https://oauth2.googleapis.com/token"_s);
    config.googleApiBase = endpoint(env, u"CALENDAR_GOOGLE_API_URL"_s, u"https://www.googleapis.com"_s);
    config.googleClientId = setting(env, u"CALENDAR_GOOGLE_CLIENT_ID"_s);
    config.googleClientSecret = setting(env, u"CALENDAR_GOOGLE_CLIENT_SECRET"_s);
    config.microsoftAuthority = endpoint(env, u"CALENDAR_MICROSOFT_AUTHORITY"_s,
                                         u"https://login.microsoftonline.com"_s);
    config.microsoftTenant = setting(env, u"CALENDAR_MICROSOFT_TENANT"_s, u"common"_s);
    config.microsoftClientId = setting(env, u"CALENDAR_MICROSOFT_CLIENT_ID"_s);
    return config;
}
