#pragma once

#include "artifact.h"
#include "config.h"

#include <QObject>
#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;

namespace TolmUpdate {

// Asks the release manifest whether a newer version exists.
//
// Each checkForUpdates() ends, always from the event loop and never from
// inside the call, with exactly one of updateAvailable(), upToDate() or
// checkFailed(). A call while a check is running starts no second request:
// the running check's signal answers both.
class Client : public QObject
{
    Q_OBJECT
public:
    // Creates its own network access manager, a child of the client.
    explicit Client(const Config &config, QObject *parent = nullptr);
    // Uses network, which the caller keeps alive for the client's lifetime.
    Client(const Config &config, QNetworkAccessManager *network, QObject *parent = nullptr);
    ~Client() override;

    const Config &config() const { return m_config; }

    // manifestBaseUrl with "latest.json" appended; a base without a trailing
    // slash is taken as a folder all the same.
    QUrl manifestUrl() const;

    // The manifest key of the running build, e.g. "linux-x86_64", "windows-x86_64".
    static QString platformKey();

    // A server that accepts the connection but stays silent fails the check
    // after this long (default 30 s).
    void setTransferTimeout(int msecs) { m_transferTimeoutMs = msecs; }

    bool isChecking() const { return !m_reply.isNull(); }

public Q_SLOTS:
    void checkForUpdates();

Q_SIGNALS:
    void updateAvailable(const TolmUpdate::Artifact &artifact);
    void upToDate();
    void checkFailed(const QString &message);

private:
    void onFinished(QNetworkReply *reply);
    void fail(const QString &message);
    void failLater(const QString &message);

    Config m_config;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    bool m_tooLarge = false;
    int m_transferTimeoutMs = 30000;
};

} // namespace TolmUpdate
