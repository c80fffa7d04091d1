#include "caldavclient.h"

#include "caldavparse.h"
#include "replysizeguard.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QByteArray userAgent = QByteArrayLiteral("QuillmartenCalendar/1.3.0 (Qt)");
const QByteArray xmlContentType = QByteArrayLiteral("application/xml; charset=utf-8");

bool isHttp(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == "http"_L1 || scheme == "https"_L1);
}

// Qt keeps the HTTP status of an answer that broke off after its status line
// (connection closed, proxy failure, a broken HTTP/2 stream); its body is
// incomplete, so it must not pass for an answer.
bool isTransportFailure(QNetworkReply::NetworkError code)
{
    return (code > QNetworkReply::NoError && code < QNetworkReply::ContentAccessDenied)
        || code == QNetworkReply::ProtocolFailure;
}

QString namesOrDisplayName(const QStringList &commonNames, const QString &displayName)
{
    const QString joined = commonNames.join(", "_L1);
    return joined.isEmpty() ? displayName : joined;
}

QString sha256Of(const QSslCertificate &certificate)
{
    return QString::fromLatin1(certificate.digest(QCryptographicHash::Sha256).toHex().toUpper());
}

UntrustedCertInfo describe(const QUrl &url, const QSslCertificate &certificate, const QList<QSslError> &errors)
{
    UntrustedCertInfo info;
    info.host = url.host(QUrl::FullyDecoded);
    info.port = url.port(url.scheme().compare("https"_L1, Qt::CaseInsensitive) == 0 ? 443 : 80);
    info.subject = namesOrDisplayName(certificate.subjectInfo(QSslCertificate::CommonName),
                                      certificate.subjectDisplayName());
    info.issuer = namesOrDisplayName(certificate.issuerInfo(QSslCertificate::CommonName),
                                     certificate.issuerDisplayName());
    info.effectiveDate = certificate.effectiveDate();
    info.expiryDate = certificate.expiryDate();
    info.sha256 = sha256Of(certificate);
    for (const QSslError &error : errors)
        info.errors.append(error.errorString());
    return info;
}

} // namespace

QByteArray CalDavClient::Response::header(const QByteArray &name) const
{
    for (auto it = headers.cbegin(); it != headers.cend(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return {};
}

QString CalDavClient::Response::etag() const
{
    const QString tag = QString::fromUtf8(header(QByteArrayLiteral("ETag"))).trimmed();
    if (tag.size() >= 2 && tag.startsWith(QLatin1Char('"')) && tag.endsWith(QLatin1Char('"')))
        return tag.mid(1, tag.size() - 2);
    return tag;
}

bool CalDavClient::Response::isSuccess() const
{
    return error.isEmpty() && status >= 200 && status <= 299;
}

bool CalDavClient::Response::isWriteSuccess() const
{
    return isSuccess() && status != 207;
}

bool CalDavClient::Response::hasConflict() const
{
    return error.isEmpty() && status == 412;
}

SyncResult CalDavClient::Response::result(SyncResult::Step step) const
{
    if (documentType)
        return SyncResult::failure(SyncResult::Kind::DocumentType, step);
    if (cutOffAt > 0) {
        SyncResult tooLarge = SyncResult::failure(SyncResult::Kind::TooLarge, step);
        tooLarge.limit = cutOffAt;
        return tooLarge;
    }
    return SyncResult::fromReply(step, status, networkError, error, body);
}

CalDavClient::CalDavClient(QObject *parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
    , m_ownsManager(true)
{
}

CalDavClient::CalDavClient(QNetworkAccessManager *manager, QObject *parent)
    : QObject(parent)
    , m_manager(manager)
    , m_ownsManager(false)
{
    Q_ASSERT(manager);
}

void CalDavClient::setCredentials(const QString &userName, const QString &password)
{
    m_userName = userName;
    m_password = password;
}

void CalDavClient::setTrustedCertificateSha256(const QString &fingerprint)
{
    QString pin;
    for (const QChar c : fingerprint) {
        if (c.isLetterOrNumber())
            pin += c.toUpper();
    }
    m_pendingCert.reset();
    if (pin == m_pin)
        return;
    m_pin = pin;
    // Open connections remember which certificate errors were accepted on
    // them; a fresh manager makes the new pin hold for the next request.
    // The old manager stays a child until the client dies, since replies of
    // requests under way still run on it.
    if (m_ownsManager)
        m_manager = new QNetworkAccessManager(this);
}

UntrustedCertInfo CalDavClient::pendingUntrustedCert() const
{
    return m_pendingCert.value_or(UntrustedCertInfo());
}

void CalDavClient::propfind(const QUrl &url, const QByteArray &body, int depth, Callback callback)
{
    sendRequest("PROPFIND", url, body, {{"Depth", QByteArray::number(depth)}}, std::move(callback));
}

void CalDavClient::report(const QUrl &url, const QByteArray &body, int depth, Callback callback)
{
    sendRequest("REPORT", url, body, {{"Depth", QByteArray::number(depth)}}, std::move(callback));
}

void CalDavClient::proppatch(const QUrl &url, const QByteArray &body, Callback callback)
{
    sendRequest("PROPPATCH", url, body, {}, std::move(callback));
}

void CalDavClient::mkcalendar(const QUrl &url, const QByteArray &body, Callback callback)
{
    sendRequest("MKCALENDAR", url, body, {}, std::move(callback));
}

void CalDavClient::put(const QUrl &url, const QByteArray &body, const QString &contentType, Callback callback,
                       const QString &etag)
{
    Headers headers;
    if (!contentType.isEmpty())
        headers.append({"Content-Type", contentType.toUtf8()});
    if (!etag.isEmpty())
        headers.append({"If-Match", quoteEtag(etag).toUtf8()});
    sendRequest("PUT", url, body, headers, std::move(callback));
}

void CalDavClient::putNew(const QUrl &url, const QByteArray &body, const QString &contentType, Callback callback)
{
    Headers headers{{"If-None-Match", "*"}};
    if (!contentType.isEmpty())
        headers.append({"Content-Type", contentType.toUtf8()});
    sendRequest("PUT", url, body, headers, std::move(callback));
}

void CalDavClient::deleteResource(const QUrl &url, Callback callback, const QString &etag)
{
    Headers headers;
    if (!etag.isEmpty())
        headers.append({"If-Match", quoteEtag(etag).toUtf8()});
    sendRequest("DELETE", url, {}, headers, std::move(callback));
}

QString CalDavClient::formatFingerprint(const QString &fingerprint)
{
    QString out;
    for (qsizetype i = 0; i < fingerprint.size(); i += 2) {
        if (i > 0)
            out += QLatin1Char(':');
        out += fingerprint.mid(i, 2);
    }
    return out;
}

QString CalDavClient::quoteEtag(const QString &etag)
{
    if (etag.isEmpty() || etag == "*"_L1 || etag.startsWith("W/"_L1))
        return etag;
    if (etag.size() >= 2 && etag.startsWith(QLatin1Char('"')) && etag.endsWith(QLatin1Char('"')))
        return etag;
    return QLatin1Char('"') + etag + QLatin1Char('"');
}

void CalDavClient::sendRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body,
                               const Headers &extraHeaders, Callback callback)
{
    Q_ASSERT(callback);
    if (!isHttp(url)) {
        // Server-supplied hrefs end up here; nothing but HTTP(S) is touched.
        const QString message = tr("Unsupported URL: %1").arg(url.toDisplayString());
        QTimer::singleShot(0, this, [callback = std::move(callback), message] {
            Response response;
            response.error = message;
            callback(response);
        });
        return;
    }

    QNetworkRequest request(url);
    // Qt would turn a redirected PROPFIND or PUT into a GET and send the
    // Authorization header to whatever host the Location names.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(m_transferTimeoutMs);
    request.setRawHeader("User-Agent", userAgent);
    if (!body.isEmpty()) {
        request.setRawHeader("Content-Type", xmlContentType);
        request.setRawHeader("Content-Length", QByteArray::number(body.size()));
    }
    if (!m_userName.isEmpty()) {
        const QByteArray credentials = (m_userName + QLatin1Char(':') + m_password).toUtf8();
        request.setRawHeader("Authorization", "Basic " + credentials.toBase64());
    }
    for (const auto &[name, value] : extraHeaders)
        request.setRawHeader(name, value);

    QNetworkReply *reply = body.isEmpty() ? m_manager->sendCustomRequest(request, verb)
                                          : m_manager->sendCustomRequest(request, verb, body);
    // Replies die with the client, also on a manager that outlives it.
    reply->setParent(this);
    const bool multistatus = verb == "PROPFIND" || verb == "REPORT";
    ReplySizeGuard::watch(reply, multistatus ? ReplySizeGuard::kMultistatusBytes : ReplySizeGuard::kObjectBytes);
    connect(reply, &QNetworkReply::sslErrors, this,
            [this, reply](const QList<QSslError> &errors) { onSslErrors(reply, errors); });
    const bool xmlAnswer = multistatus || verb == "PROPPATCH" || verb == "MKCALENDAR";
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, xmlAnswer, callback = std::move(callback)] { onReplyFinished(reply, xmlAnswer, callback); });
    if (m_requestDeadlineMs > 0) {
        QTimer::singleShot(m_requestDeadlineMs, reply, [this, reply] {
            if (reply->isFinished())
                return;
            m_overdue.insert(reply);
            reply->abort();
        });
    }
}

void CalDavClient::onReplyFinished(QNetworkReply *reply, bool xmlAnswer, const Callback &callback)
{
    Response response;
    response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // A reply cut off is closed: there is nothing to read.
    const std::optional<SyncResult> cut = ReplySizeGuard::verdict(reply);
    if (!cut)
        response.body = reply->readAll();
    const auto pairs = reply->rawHeaderPairs();
    for (const auto &[name, value] : pairs)
        response.headers.insert(name, value);
    QNetworkReply::NetworkError code = reply->error();
    const bool overdue = m_overdue.remove(reply);
    if (cut) {
        response.cutOffAt = cut->limit;
        response.error =
            tr("The server's answer was larger than %1 MB and was cut off.").arg(cut->limit / ReplySizeGuard::kMiB);
    } else if (overdue) {
        // Whatever came so far is incomplete.
        response.body.clear();
        response.error = tr("The server did not finish its answer within %n second(s).", nullptr,
                            (m_requestDeadlineMs + 999) / 1000);
    } else if (code != QNetworkReply::NoError && (response.status == 0 || isTransportFailure(code))) {
        // Nothing else aborts a reply but the transfer timeout, whose own
        // text is a bare "Operation canceled".
        response.error = code == QNetworkReply::OperationCanceledError
            ? tr("The server did not answer for %n second(s).", nullptr,
                 (reply->request().transferTimeout() + 999) / 1000)
            : reply->errorString();
    }
    // A connection closed before the body its header announced is no answer
    // (Qt may finish such a reply without an error). A compressed body has
    // another length than the one announced.
    const QByteArray encoding = reply->rawHeader("Content-Encoding");
    bool lengthOk = false;
    const qint64 announced = reply->rawHeader("Content-Length").toLongLong(&lengthOk);
    if (response.error.isEmpty() && !cut && lengthOk && response.status != 204 && response.status != 304
        && (encoding.isEmpty() || encoding == "identity") && response.body.size() < announced) {
        response.body.clear();
        response.error = tr("The server's answer ended before it was whole.");
        code = QNetworkReply::RemoteHostClosedError;
    }
    // An error page may well carry a DTD (Apache's do); only an answer that
    // is read as XML must not.
    if (response.error.isEmpty() && xmlAnswer && response.status >= 200 && response.status <= 299
        && CalDavParse::declaresDocumentType(response.body)) {
        response.documentType = true;
        response.body.clear();
        response.error = tr("The server's answer declared a document type, which CalDAV never uses; it was refused.");
    }
    if (!response.error.isEmpty())
        response.networkError = overdue ? QNetworkReply::TimeoutError : code;
    reply->deleteLater();
    callback(response);
}

void CalDavClient::onSslErrors(QNetworkReply *reply, const QList<QSslError> &errors)
{
    const QList<QSslCertificate> chain = reply->sslConfiguration().peerCertificateChain();
    if (chain.isEmpty())
        return;
    const QSslCertificate &certificate = chain.first();
    const QString sha256 = sha256Of(certificate);
    if (!m_pin.isEmpty() && m_pin == sha256) {
        // Exactly these errors: a different certificate later still fails.
        reply->ignoreSslErrors(errors);
        return;
    }
    m_pendingCert = describe(reply->request().url(), certificate, errors);
    Q_EMIT untrustedCertEncountered(*m_pendingCert);
}
