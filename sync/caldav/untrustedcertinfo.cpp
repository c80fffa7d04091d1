#include "untrustedcertinfo.h"

bool operator==(const UntrustedCertInfo &a, const UntrustedCertInfo &b)
{
    return a.host == b.host && a.port == b.port && a.subject == b.subject && a.issuer == b.issuer
        && a.effectiveDate == b.effectiveDate && a.expiryDate == b.expiryDate && a.sha256 == b.sha256
        && a.errors == b.errors;
}
