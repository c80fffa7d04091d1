#include "provideraccess.h"

#include "oauthsignin.h"
#include "providerslog.h"

#include <QHash>
#include <QPointer>

#include <memory>

namespace {

struct Waiter
{
    QPointer<QObject> context;
    ProviderAccess::Granted granted;
    ProviderAccess::Refused refused;
};

// The refreshes under way, by store and account: whoever asks meanwhile
// waits for the same answer.
QHash<QString, QList<Waiter>> &flights()
{
    static QHash<QString, QList<Waiter>> waiting;
    return waiting;
}

QString flightKey(const TolmAccount::TokenStore *store, const QString &key)
{
    return QString::number(quintptr(store), 16) + u'/' + key;
}

} // namespace

ProviderAccess::ProviderAccess(TolmAccount::TokenStore *store, const QString &tokenKey, MakeAuth makeAuth,
                               QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_key(tokenKey)
    , m_makeAuth(std::move(makeAuth))
{
}

ProviderAccess *ProviderAccess::ofAccount(QHash<QString, QPointer<ProviderAccess>> &cache, const QString &accountId,
                                          TolmAccount::TokenStore *store, const QString &tokenKey, MakeAuth makeAuth,
                                          QObject *parent)
{
    QPointer<ProviderAccess> &access = cache[accountId];
    if (!access)
        access = new ProviderAccess(store, tokenKey, std::move(makeAuth), parent);
    return access;
}

void ProviderAccess::token(QObject *context, Granted granted, Refused refused)
{
    const StoredTokens stored = ProviderTokens::load(m_store, m_key);
    const bool lasts = !stored.accessToken.isEmpty() && stored.expiresAt.isValid()
        && QDateTime::currentDateTimeUtc().secsTo(stored.expiresAt) >= 60;
    if (lasts) {
        granted(stored.accessToken);
        return;
    }
    refresh(context, std::move(granted), std::move(refused));
}

void ProviderAccess::renew(const QString &rejected, QObject *context, Granted granted, Refused refused)
{
    const StoredTokens stored = ProviderTokens::load(m_store, m_key);
    // Another run of the account refreshed since this token was handed out.
    if (!stored.accessToken.isEmpty() && stored.accessToken != rejected
        && !flights().contains(flightKey(m_store, m_key))) {
        granted(stored.accessToken);
        return;
    }
    refresh(context, std::move(granted), std::move(refused));
}

void ProviderAccess::refresh(QObject *context, Granted granted, Refused refused)
{
    const QString flight = flightKey(m_store, m_key);
    QHash<QString, QList<Waiter>> &waiting = flights();
    const bool underWay = waiting.contains(flight);
    waiting[flight].append({context, std::move(granted), std::move(refused)});
    if (underWay)
        return;
    const StoredTokens stored = ProviderTokens::load(m_store, m_key);
    const auto settle = [flight](const std::function<void(const Waiter &)> &tell) {
        const QList<Waiter> told = flights().take(flight);
        for (const Waiter &waiter : told) {
            if (waiter.context)
                tell(waiter);
        }
    };
    if (stored.refreshToken.isEmpty()) {
        settle([](const Waiter &w) { w.refused(SyncResult::failure(SyncResult::Kind::SignInNeeded)); });
        return;
    }
    // The refresher dies with this object: a store that goes with its owner
    // is never written afterwards, and whoever still waits hears of it.
    OAuthSignIn *auth = m_makeAuth();
    auth->setParent(this);
    auto settled = std::make_shared<bool>(false);
    connect(auth, &QObject::destroyed, [settled, settle] {
        if (!*settled)
            settle([](const Waiter &w) { w.refused(SyncResult::failure(SyncResult::Kind::Cancelled)); });
    });
    TolmAccount::TokenStore *store = m_store;
    const QString key = m_key;
    connect(auth, &OAuthSignIn::refreshSucceeded, auth,
            [auth, store, key, stored, settle, settled](const QString &access, const QDateTime &expiresAt,
                                                        const QString &rotated) {
        *settled = true;
        auth->deleteLater();
        if (!ProviderTokens::save(store, key, {access, rotated.isEmpty() ? stored.refreshToken : rotated, expiresAt}))
            qCWarning(lcProviders) << "the refreshed tokens could not be stored";
        settle([&access](const Waiter &w) { w.granted(access); });
    });
    connect(auth, &OAuthSignIn::refreshFailed, auth, [auth, settle, settled](const SyncResult &result) {
        *settled = true;
        auth->deleteLater();
        settle([&result](const Waiter &w) { w.refused(result); });
    });
    auth->refresh(stored.refreshToken);
}
