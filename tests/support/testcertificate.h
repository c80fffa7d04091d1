#pragma once

#include <QSslCertificate>
#include <QSslKey>
#include <QString>

// A self-signed certificate for 127.0.0.1 and localhost, made by `openssl`
// at test time and written as PEM files into a folder the test owns (TLS
// servers in other processes read them from there).
class TestCertificate
{
public:
    // Writes <dir>/<name>.crt and <dir>/<name>.key. Check isValid() after.
    TestCertificate(const QString &dir, const QString &name, const QString &commonName = QStringLiteral("127.0.0.1"));

    bool isValid() const { return !m_certificate.isNull() && !m_key.isNull(); }
    // openssl's complaint when it failed.
    QString errorString() const { return m_error; }

    QString certificatePath() const { return m_certificatePath; }
    QString keyPath() const { return m_keyPath; }
    QSslCertificate certificate() const { return m_certificate; }
    QSslKey key() const { return m_key; }
    // 64 upper-case hex digits, as a pin is stored.
    QString sha256() const;

private:
    QString m_certificatePath;
    QString m_keyPath;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QString m_error;
};
