#pragma once

#include "providertokens.h"
#include "syncresult.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class OAuthSignIn;
namespace TolmAccount {
class TokenStore;
}

// The access tokens of one provider account for its sync runs. A token that
// still lasts a minute is used as stored; otherwise, and whenever the server
// answered 401 to a token whatever its stored expiry, the account's refresh
// token buys a new one. One refresh per account runs at a time, in the whole
// program: every caller waiting meanwhile gets its result, and a caller whose
// rejected token was already replaced in the store gets the new one without
// another refresh, so a service that rotates refresh tokens never sees the
// old one twice. The store is the caller's and must outlive the waits.
class ProviderAccess : public QObject
{
    Q_OBJECT
public:
    using Granted = std::function<void(const QString &accessToken)>;
    using Refused = std::function<void(const SyncResult &result)>;
    // A refresher of the account's provider; this object takes it and
    // deletes it once it has reported.
    using MakeAuth = std::function<OAuthSignIn *()>;

    // `tokenKey`: the account's entry in the store.
    ProviderAccess(TolmAccount::TokenStore *store, const QString &tokenKey, MakeAuth makeAuth,
                   QObject *parent = nullptr);

    // A usable access token, now or after a refresh; `granted` or `refused`
    // runs once, never after `context` is gone. A sign-in is needed when the
    // account has no refresh token.
    void token(QObject *context, Granted granted, Refused refused);
    // The server answered 401 to `rejected`.
    void renew(const QString &rejected, QObject *context, Granted granted, Refused refused);

    // The access of account `accountId` in `cache`, made on first use as a
    // child of `parent` with the store entry `tokenKey`.
    static ProviderAccess *ofAccount(QHash<QString, QPointer<ProviderAccess>> &cache, const QString &accountId,
                                     TolmAccount::TokenStore *store, const QString &tokenKey, MakeAuth makeAuth,
                                     QObject *parent);

private:
    void refresh(QObject *context, Granted granted, Refused refused);

    TolmAccount::TokenStore *m_store;
    QString m_key;
    MakeAuth m_makeAuth;
};
