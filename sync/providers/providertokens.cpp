#include "providertokens.h"

#include "providerhttp.h"
#include "tokenstore.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace ProviderTokens {

StoredTokens load(const TolmAccount::TokenStore *store, const QString &key)
{
    StoredTokens tokens;
    if (!store)
        return tokens;
    const QString value = store->load(key).value_or(QString());
    if (value.isEmpty())
        return tokens;
    const QJsonObject object = QJsonDocument::fromJson(value.toUtf8()).object();
    tokens.accessToken = object.value("access_token"_L1).toString();
    tokens.refreshToken = object.value("refresh_token"_L1).toString();
    tokens.expiresAt = ProviderHttp::parseIso(object.value("expires_at"_L1).toString());
    return tokens;
}

bool save(TolmAccount::TokenStore *store, const QString &key, const StoredTokens &tokens)
{
    if (!store)
        return false;
    QJsonObject object;
    object.insert("access_token"_L1, tokens.accessToken);
    object.insert("expires_at"_L1,
                  tokens.expiresAt.isValid() ? tokens.expiresAt.toUTC().toString(Qt::ISODateWithMs) : QString());
    object.insert("refresh_token"_L1, tokens.refreshToken);
    return store->save(key, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

} // namespace ProviderTokens
