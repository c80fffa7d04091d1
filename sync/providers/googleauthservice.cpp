#include "googleauthservice.h"

using namespace Qt::StringLiterals;

namespace Google {

namespace {

const QString kScope = u"openid email profile https://www.googleapis.com/auth/calendar "
                       "https://www.googleapis.com/auth/calendar.events"_s;

} // namespace

AuthService::AuthService(QNetworkAccessManager *network, const ProviderConfig &config, QObject *parent)
    : OAuthSignIn(network, provider(config), parent)
{
}

bool AuthService::hasOAuthCredentials(const ProviderConfig &config)
{
    return config.hasGoogleCredentials();
}

OAuthProvider AuthService::provider(const ProviderConfig &config)
{
    OAuthProvider p;
    p.id = SyncResult::Provider::Google;
    p.hasCredentials = hasOAuthCredentials(config);
    p.authorizationEndpoint = config.googleAuthorizationEndpoint;
    p.tokenEndpoint = config.googleTokenEndpoint;
    const QString id = config.googleClientId;
    const QString secret = config.googleClientSecret;
    p.authorizationQuery = [id](const QString &challenge, const QString &state, const QString &redirect) {
        return OAuthProvider::Fields{
            {u"client_id"_s, id}, {u"redirect_uri"_s, redirect},    {u"response_type"_s, u"code"_s},
            {u"scope"_s, kScope}, {u"code_challenge"_s, challenge}, {u"code_challenge_method"_s, u"S256"_s},
            {u"state"_s, state},  {u"access_type"_s, u"offline"_s}, {u"prompt"_s, u"consent"_s}};
    };
    p.exchangeForm = [id, secret](const QString &code, const QString &verifier, const QString &redirect) {
        return OAuthProvider::Fields{
            {u"client_id"_s, id},           {u"client_secret"_s, secret},  {u"code"_s, code},
            {u"code_verifier"_s, verifier}, {u"redirect_uri"_s, redirect}, {u"grant_type"_s, u"authorization_code"_s}};
    };
    p.refreshForm = [id, secret](const QString &refreshToken) {
        return OAuthProvider::Fields{{u"client_id"_s, id},
                                     {u"client_secret"_s, secret},
                                     {u"refresh_token"_s, refreshToken},
                                     {u"grant_type"_s, u"refresh_token"_s}};
    };
    p.emailFromClaims = [](const QJsonObject &claims) { return claims.value("email"_L1).toString(); };
    p.denialDetail = [](const QUrlQuery &query) { return query.queryItemValue(u"error"_s, QUrl::FullyDecoded); };
    p.notConfigured = tr("Google OAuth credentials are not configured in this build. See .env.example.");
    p.cannotBind = tr("Could not bind a local port for the Google sign-in callback: %1");
    p.cannotLaunch = tr("Could not launch the system browser for Google sign-in.");
    p.denied = tr("Google denied the sign-in: %1");
    p.noCode = tr("Google did not return an authorization code.");
    p.noAccessToken = tr("Google did not return an access token.");
    p.noRefreshToken = tr("Google did not return a refresh token. Try removing the app from your Google Account "
                          "permissions and signing in again.");
    return p;
}

QString AuthService::tokenKey(const QString &accountId)
{
    return u"google-tokens-"_s + accountId;
}

StoredTokens AuthService::loadTokens(const TolmAccount::TokenStore *store, const QString &accountId)
{
    return ProviderTokens::load(store, tokenKey(accountId));
}

bool AuthService::saveTokens(TolmAccount::TokenStore *store, const QString &accountId, const StoredTokens &tokens)
{
    return ProviderTokens::save(store, tokenKey(accountId), tokens);
}

} // namespace Google
