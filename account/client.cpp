#include "account/client.h"
#include "apiclient.h"
#include "tokenstore.h"

#include <QNetworkAccessManager>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace TolmAccount {

Client::Client(const ClientConfig &config, QObject *parent)
    : Client(config, createTokenStore(config.applicationIdentifier), nullptr, parent)
{
}

Client::Client(const ClientConfig &config, std::unique_ptr<TokenStore> store, QNetworkAccessManager *network,
               QObject *parent)
    : QObject(parent)
    , m_config(config)
    , m_store(std::move(store))
    , m_network(network ? network : new QNetworkAccessManager(this))
{
    qRegisterMetaType<TolmAccount::AuthState>();
    const auto token = [this] { return m_accessToken; };
    m_accountApi = new ApiClient(m_network, token, this);
    m_accountApi->setBaseUrl(QUrl(config.accountApiBaseUrl));
    m_syncApi = new ApiClient(m_network, token, this);
}

Client::~Client() = default;

QString Client::accessTokenKey()
{
    return u"account-access-token"_s;
}

QString Client::refreshTokenKey()
{
    return u"account-refresh-token"_s;
}

void Client::initialize()
{
    if (m_store && !m_store->isReady()) {
        // The keyring answers from the event loop; a store not ready yet
        // would make a signed-in user look signed out.
        m_store->whenReady(this, [this] { restore(); });
        return;
    }
    restore();
}

void Client::restore()
{
    m_accessToken = m_store ? m_store->load(accessTokenKey()).value_or(QString()) : QString();
    setState(m_accessToken.isEmpty() ? AuthState::SignedOut : AuthState::Authenticated);
}

void Client::setState(AuthState state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT authStateChanged(state);
}

} // namespace TolmAccount
