#include "microsoftauthservice.h"

using namespace Qt::StringLiterals;

namespace Microsoft {

namespace {

const QString kScope = u"openid profile email offline_access User.Read Calendars.ReadWrite "
                       "Calendars.ReadWrite.Shared"_s;

} // namespace

AuthService::AuthService(QNetworkAccessManager *network, const ProviderConfig &config, QObject *parent)
    : OAuthSignIn(network, provider(config), parent)
{
}

bool AuthService::hasOAuthCredentials(const ProviderConfig &config)
{
    return config.hasMicrosoftCredentials();
}

OAuthProvider AuthService::provider(const ProviderConfig &config)
{
    OAuthProvider p;
    p.id = SyncResult::Provider::Microsoft;
    p.hasCredentials = hasOAuthCredentials(config);
    p.authorizationEndpoint = config.microsoftAuthorizationEndpoint();
    p.tokenEndpoint = config.microsoftTokenEndpoint();
    const QString id = config.microsoftClientId;
    p.authorizationQuery = [id](const QString &challenge, const QString &state, const QString &redirect) {
        return OAuthProvider::Fields{
            {u"client_id"_s, id}, {u"response_type"_s, u"code"_s},  {u"redirect_uri"_s, redirect},
            {u"scope"_s, kScope}, {u"code_challenge"_s, challenge}, {u"code_challenge_method"_s, u"S256"_s},
            {u"state"_s, state},  {u"response_mode"_s, u"query"_s}, {u"prompt"_s, u"select_account"_s}};
    };
    p.exchangeForm = [id](const QString &code, const QString &verifier, const QString &redirect) {
        return OAuthProvider::Fields{{u"client_id"_s, id},
                                     {u"scope"_s, kScope},
                                     {u"code"_s, code},
                                     {u"redirect_uri"_s, redirect},
                                     {u"grant_type"_s, u"authorization_code"_s},
                                     {u"code_verifier"_s, verifier}};
    };
    p.refreshForm = [id](const QString &refreshToken) {
        return OAuthProvider::Fields{{u"client_id"_s, id},
                                     {u"scope"_s, kScope},
                                     {u"refresh_token"_s, refreshToken},
                                     {u"grant_type"_s, u"refresh_token"_s}};
    };
    p.emailFromClaims = [](const QJsonObject &claims) {
        const QString email = claims.value("email"_L1).toString();
        return email.isEmpty() ? claims.value("preferred_username"_L1).toString() : email;
    };
    p.denialDetail = [](const QUrlQuery &query) {
        const QString description = query.queryItemValue(u"error_description"_s, QUrl::FullyDecoded);
        return description.isEmpty() ? query.queryItemValue(u"error"_s, QUrl::FullyDecoded) : description;
    };
    p.notConfigured = tr("Microsoft OAuth credentials are not configured in this build. See .env.example.");
    p.cannotBind = tr("Could not bind a local port for the Microsoft sign-in callback: %1");
    p.cannotLaunch = tr("Could not launch the system browser for Microsoft sign-in.");
    p.denied = tr("Microsoft denied the sign-in: %1");
    p.noCode = tr("Microsoft did not return an authorization code.");
    p.noAccessToken = tr("Microsoft did not return an access token.");
    p.noRefreshToken = tr("Microsoft did not return a refresh token. Verify offline_access is in the scopes "
                          "configured for this app.");
    return p;
}

QString AuthService::tokenKey(const QString &accountId)
{
    return u"microsoft-tokens-"_s + accountId;
}

StoredTokens AuthService::loadTokens(const TolmAccount::TokenStore *store, const QString &accountId)
{
    return ProviderTokens::load(store, tokenKey(accountId));
}

bool AuthService::saveTokens(TolmAccount::TokenStore *store, const QString &accountId, const StoredTokens &tokens)
{
    return ProviderTokens::save(store, tokenKey(accountId), tokens);
}

} // namespace Microsoft
