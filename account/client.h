#pragma once

#include "authstate.h"
#include "clientconfig.h"

#include <QObject>

#include <memory>

class QNetworkAccessManager;

namespace TolmAccount {

class ApiClient;
class TokenStore;

// The account facade: keeps the sign-in state and the tokens, and the API
// clients of the account service and of the calendar sync service, which
// send the access token.
//
// Tokens are stored in the secure store under the application identifier,
// with the keys accessTokenKey() and refreshTokenKey(). A stored, non-empty
// access token means the user is signed in.
class Client : public QObject
{
    Q_OBJECT
public:
    // The platform's secure store for config.applicationIdentifier and a
    // network access manager of its own.
    explicit Client(const ClientConfig &config, QObject *parent = nullptr);
    // A given store (owned; null means none) and network (not owned and kept
    // alive by the caller; null means one of its own).
    Client(const ClientConfig &config, std::unique_ptr<TokenStore> store, QNetworkAccessManager *network,
           QObject *parent = nullptr);
    ~Client() override;

    static QString accessTokenKey();
    static QString refreshTokenKey();

    const ClientConfig &config() const { return m_config; }

    // Restores the stored sign-in: Authenticated when an access token was
    // found, SignedOut otherwise (also without a store). authStateChanged
    // reports a change before this returns, or, while the store is not ready
    // (TokenStore::isReady), from the event loop once it is; the state stays
    // Unknown until then.
    void initialize();

    AuthState authState() const { return m_state; }
    bool isAuthenticated() const { return m_state == AuthState::Authenticated; }

    // Based at config().accountApiBaseUrl.
    ApiClient *accountApiClient() const { return m_accountApi; }
    // No base URL until the owner sets one.
    ApiClient *syncApiClient() const { return m_syncApi; }

Q_SIGNALS:
    void authStateChanged(TolmAccount::AuthState state);

private:
    void restore();
    void setState(AuthState state);

    ClientConfig m_config;
    std::unique_ptr<TokenStore> m_store;
    QNetworkAccessManager *m_network;
    ApiClient *m_accountApi;
    ApiClient *m_syncApi;
    AuthState m_state = AuthState::Unknown;
    QString m_accessToken;
};

} // namespace TolmAccount
