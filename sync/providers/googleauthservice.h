#pragma once

#include "oauthsignin.h"
#include "providerconfig.h"
#include "providertokens.h"

#include <QObject>

class QNetworkAccessManager;
namespace TolmAccount {
class TokenStore;
}

namespace Google {

using SignInResult = OAuthSignInResult;
using StoredTokens = ::StoredTokens;

// Sign-in to a Google account (browser, PKCE, loopback redirect) and the
// refresh of its access token. One object carries one sign-in; create one
// per sign-in or refresh and delete it once it has reported.
class AuthService : public OAuthSignIn
{
    Q_OBJECT
public:
    AuthService(QNetworkAccessManager *network, const ProviderConfig &config, QObject *parent = nullptr);

    static bool hasOAuthCredentials(const ProviderConfig &config);

    // The account's entry in the secure store ("google-tokens-" + id).
    static QString tokenKey(const QString &accountId);
    static StoredTokens loadTokens(const TolmAccount::TokenStore *store, const QString &accountId);
    static bool saveTokens(TolmAccount::TokenStore *store, const QString &accountId, const StoredTokens &tokens);

private:
    static OAuthProvider provider(const ProviderConfig &config);
};

} // namespace Google
