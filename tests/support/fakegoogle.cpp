#include "fakegoogle.h"

using namespace Qt::StringLiterals;

FakeGoogle::FakeGoogle()
    : FakeProviderServer(u"fakegoogle.py"_s,
                         {u"--client-id="_s + QLatin1StringView(kClientId),
                          u"--client-secret="_s + QLatin1StringView(kClientSecret)},
                         u"Google"_s)
{
}

QList<QJsonObject> FakeGoogle::events(const QString &calendarId)
{
    return objects(
        control(u"dump?calendar="_s + QString::fromLatin1(QUrl::toPercentEncoding(calendarId))).value("items"_L1));
}

QPair<QString, QString> FakeGoogle::grantTokens()
{
    const QJsonObject tokens = control(u"tokens"_s);
    return {tokens.value("access_token"_L1).toString(), tokens.value("refresh_token"_L1).toString()};
}
