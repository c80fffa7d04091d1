#pragma once

#include "syncresult.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QUrlQuery>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QTcpServer;
class QTcpSocket;

// What a completed sign-in yields.
struct OAuthSignInResult
{
    QString email;
    QString displayName;
    QString accessToken;
    QString refreshToken;
    QString idToken;
    QDateTime expiresAt; // UTC
};

// How one provider spells the authorization-code flow: its endpoints, the
// ordered query and form fields, and its (already translated) messages.
struct OAuthProvider
{
    using Fields = QList<QPair<QString, QString>>;

    SyncResult::Provider id = SyncResult::Provider::None;
    bool hasCredentials = false;
    QUrl authorizationEndpoint;
    QUrl tokenEndpoint;
    // Given the code challenge, the state and the redirect URI.
    std::function<Fields(const QString &, const QString &, const QString &)> authorizationQuery;
    // Given the code, the verifier and the redirect URI.
    std::function<Fields(const QString &, const QString &, const QString &)> exchangeForm;
    // Given the refresh token.
    std::function<Fields(const QString &)> refreshForm;
    std::function<QString(const QJsonObject &claims)> emailFromClaims;
    // The redirect's query of a denial -> the text for "denied".
    std::function<QString(const QUrlQuery &)> denialDetail;

    QString notConfigured; // sign-in without credentials
    QString cannotBind; // %1: the server's error
    QString cannotLaunch;
    QString denied; // %1: denialDetail
    QString noCode;
    QString noAccessToken; // exchange reply without access token
    QString noRefreshToken;
};

// The authorization-code flow with PKCE (S256) and a one-shot listener on
// 127.0.0.1 for the redirect, plus the refresh of an access token; the
// provider's spelling comes in as an OAuthProvider. One object carries one
// sign-in: it reports exactly one outcome, and nothing after a cancel.
// Any local program can reach the listener: only a request carrying this
// sign-in's state can end it, and the first such redirect's code is the one
// exchanged; anything else is answered 400 and the listener keeps waiting.
// Every refresh call reports once on its own; a failed one as a value that
// the sync status puts into words.
class OAuthSignIn : public QObject
{
    Q_OBJECT
public:
    // The longest request head the listener reads before giving up on it.
    static constexpr qsizetype kMaxRequestHead = 16 * 1024;
    // A connection that has not sent its request line by then is closed.
    static constexpr int kIdleTimeoutMs = 5000;
    // Connections held open at once; a new one beyond closes the oldest, so
    // a flood neither uses up descriptors nor keeps the redirect out.
    static constexpr qsizetype kMaxConnections = 16;

    OAuthSignIn(QNetworkAccessManager *network, OAuthProvider provider, QObject *parent = nullptr);

    void startSignIn();
    void cancelSignIn();
    void refresh(const QString &refreshToken);

    static QString randomUrlSafe(int bytes);
    static QJsonObject decodeIdTokenClaims(const QString &idToken);
    static QString codeChallenge(const QString &verifier);

Q_SIGNALS:
    void signInSucceeded(const OAuthSignInResult &result);
    void signInFailed(const QString &reason);
    void refreshSucceeded(const QString &accessToken, const QDateTime &expiresAt,
                          const QString &maybeRotatedRefreshToken);
    void refreshFailed(const SyncResult &result);

private:
    void onConnection();
    void handleLoopbackRequest(QTcpSocket *socket, const QByteArray &head);
    void answer(QTcpSocket *socket, bool success);
    void exchangeCode(const QString &code);
    void onTokenExchangeReply(QNetworkReply *reply);
    void onRefreshReply(QNetworkReply *reply);
    QNetworkReply *postForm(const OAuthProvider::Fields &fields);
    void fail(const QString &reason);
    void succeed(const OAuthSignInResult &result);
    void closeServer();
    void dropConnection(QTcpSocket *socket);

    QNetworkAccessManager *m_network;
    OAuthProvider m_provider;
    QPointer<QTcpServer> m_server;
    // Accepted and not yet answered, oldest first.
    QList<QPointer<QTcpSocket>> m_connections;
    QString m_verifier;
    QString m_state;
    QString m_redirectUri;
    bool m_finished = false;
    // A redirect with the right state was taken; its code is being exchanged.
    bool m_redirectTaken = false;
};

Q_DECLARE_METATYPE(OAuthSignInResult)
