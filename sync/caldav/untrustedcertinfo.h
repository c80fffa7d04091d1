#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>

// A server certificate that failed verification, as offered to the user for
// trust. `sha256` is what CalDavClient::setTrustedCertificateSha256 pins.
struct UntrustedCertInfo
{
    QString host;
    int port = 0;
    QString subject; // common names joined by ", ", else the display name
    QString issuer;
    QDateTime effectiveDate;
    QDateTime expiryDate;
    QString sha256; // 64 upper-case hex digits of the DER certificate
    QStringList errors; // TLS error texts in the order reported

    friend bool operator==(const UntrustedCertInfo &a, const UntrustedCertInfo &b);
    friend bool operator!=(const UntrustedCertInfo &a, const UntrustedCertInfo &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(UntrustedCertInfo)
