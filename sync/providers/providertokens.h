#pragma once

#include <QDateTime>
#include <QString>

namespace TolmAccount {
class TokenStore;
}

// An account's OAuth tokens. An empty refresh token means the account has no
// saved credentials and needs a new sign-in.
struct StoredTokens
{
    QString accessToken;
    QString refreshToken;
    QDateTime expiresAt;

    friend bool operator==(const StoredTokens &a, const StoredTokens &b)
    {
        return a.accessToken == b.accessToken && a.refreshToken == b.refreshToken && a.expiresAt == b.expiresAt;
    }
};

// The secure-store entry of one account: compact JSON with "access_token",
// "expires_at" (UTC, ISO 8601 with milliseconds, "" when unknown) and
// "refresh_token". The key is the provider's prefix plus the account id.
namespace ProviderTokens {

// Never fails: a missing store, entry or malformed text gives empty fields.
StoredTokens load(const TolmAccount::TokenStore *store, const QString &key);
// True once the store accepted the value.
bool save(TolmAccount::TokenStore *store, const QString &key, const StoredTokens &tokens);

} // namespace ProviderTokens
