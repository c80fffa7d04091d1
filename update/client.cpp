#include "update/client.h"
#include "manifest_p.h"
#include "updatelog.h"
#include "version.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSysInfo>
#include <QTimer>

#include <utility>

using namespace Qt::StringLiterals;

namespace TolmUpdate {

namespace {

// A release manifest is a few hundred bytes; anything this big is not one.
constexpr qint64 MaxManifestBytes = 1024 * 1024;

QString describe(const QUrl &url)
{
    return url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemoveQuery);
}

} // namespace

Client::Client(const Config &config, QObject *parent)
    : Client(config, nullptr, parent)
{
}

Client::Client(const Config &config, QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_config(config)
    , m_network(network ? network : new QNetworkAccessManager(this))
{
    qRegisterMetaType<TolmUpdate::Artifact>();
}

Client::~Client()
{
    // A borrowed manager would otherwise finish the reply into a dead client.
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

QUrl Client::manifestUrl() const
{
    QUrl base = m_config.manifestBaseUrl;
    if (!base.path().endsWith(u'/'))
        base.setPath(base.path() + u'/');
    return base.resolved(QUrl(u"latest.json"_s));
}

QString Client::platformKey()
{
    QString os = QSysInfo::kernelType();
    if (os == "winnt"_L1)
        os = u"windows"_s;
    else if (os == "darwin"_L1)
        os = u"macos"_s;
    // The build's architecture, not the machine's: an emulated x86-64 build
    // on an ARM machine still needs the x86-64 download.
    return os + u'-' + QSysInfo::buildCpuArchitecture();
}

void Client::fail(const QString &message)
{
    qCInfo(lcUpdateClient) << "check failed:" << message;
    Q_EMIT checkFailed(message);
}

void Client::failLater(const QString &message)
{
    QTimer::singleShot(0, this, [this, message] { fail(message); });
}

void Client::checkForUpdates()
{
    if (m_reply) {
        qCDebug(lcUpdateClient) << "check already running";
        return;
    }
    if (!isValidVersion(m_config.currentVersion)) {
        failLater(u"current version \"%1\" is not a dotted version"_s.arg(m_config.currentVersion));
        return;
    }
    const QUrl url = manifestUrl();
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != "https"_L1 && url.scheme() != "http"_L1)) {
        failLater(u"manifest URL \"%1\" is not an http(s) URL"_s.arg(describe(url)));
        return;
    }

    QNetworkRequest request(url);
    request.setTransferTimeout(m_transferTimeoutMs);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setHeader(QNetworkRequest::UserAgentHeader, u"%1/%2"_s.arg(m_config.product, m_config.currentVersion));
    qCDebug(lcUpdateClient) << "requesting" << describe(url) << "for" << platformKey();

    m_body.clear();
    m_tooLarge = false;
    QNetworkReply *reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        m_body += reply->readAll();
        if (m_body.size() > MaxManifestBytes) {
            m_tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
}

void Client::onFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    m_reply.clear();
    if (!m_tooLarge)
        m_body += reply->readAll();
    const QByteArray body = std::exchange(m_body, {});
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString where = describe(reply->url());

    QString failure;
    if (m_tooLarge) {
        failure = u"manifest at %1 is larger than %2 bytes"_s.arg(where).arg(MaxManifestBytes);
    } else if (status != 0 && status != 200) {
        failure = u"HTTP %1 from %2"_s.arg(status).arg(where);
    } else if (reply->error() != QNetworkReply::NoError) {
        failure = u"cannot fetch %1: %2"_s.arg(where, reply->errorString());
    }
    if (!failure.isEmpty()) {
        fail(failure);
        return;
    }

    const QString platform = platformKey();
    const Manifest::Result manifest = Manifest::parse(body, m_config, platform);
    switch (manifest.kind) {
    case Manifest::Result::Kind::Invalid:
        qCDebug(lcUpdateClient) << "rejected manifest of" << body.size() << "bytes";
        fail(manifest.error);
        return;
    case Manifest::Result::Kind::NoEntryForPlatform:
        // Releases may reach one platform before another; until this one's
        // entry appears the user has nothing to download, so nothing to see.
        qCInfo(lcUpdateClient) << "manifest lists no release for" << platform << "- up to date";
        Q_EMIT upToDate();
        return;
    case Manifest::Result::Kind::Entry: break;
    }

    const Artifact &artifact = manifest.artifact;
    if (compareVersions(artifact.version, m_config.currentVersion).value_or(0) > 0) {
        qCInfo(lcUpdateClient) << "version" << artifact.version << "available, running" << m_config.currentVersion;
        Q_EMIT updateAvailable(artifact);
    } else {
        qCInfo(lcUpdateClient) << "up to date: latest" << artifact.version << "running" << m_config.currentVersion;
        Q_EMIT upToDate();
    }
}

} // namespace TolmUpdate
