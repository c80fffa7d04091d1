#include "testcertificate.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TestCertificate::TestCertificate(const QString &dir, const QString &name, const QString &commonName)
    : m_certificatePath(dir + u'/' + name + u".crt"_s)
    , m_keyPath(dir + u'/' + name + u".key"_s)
{
    // An EC key: generated in milliseconds, unlike RSA.
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(u"openssl"_s,
                  {u"req"_s, u"-x509"_s, u"-newkey"_s, u"ec"_s, u"-pkeyopt"_s, u"ec_paramgen_curve:prime256v1"_s,
                   u"-nodes"_s, u"-days"_s, u"2"_s, u"-subj"_s, u"/CN="_s + commonName, u"-addext"_s,
                   u"subjectAltName=IP:127.0.0.1,DNS:localhost"_s, u"-keyout"_s, m_keyPath, u"-out"_s,
                   m_certificatePath});
    if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0) {
        m_error = u"openssl failed: "_s + QString::fromLocal8Bit(openssl.readAll()) + openssl.errorString();
        return;
    }
    m_certificate = QSslCertificate(readAll(m_certificatePath), QSsl::Pem);
    m_key = QSslKey(readAll(m_keyPath), QSsl::Ec, QSsl::Pem);
    if (!isValid())
        m_error = u"openssl wrote a certificate or key Qt cannot read"_s;
}

QString TestCertificate::sha256() const
{
    return QString::fromLatin1(m_certificate.digest(QCryptographicHash::Sha256).toHex().toUpper());
}
