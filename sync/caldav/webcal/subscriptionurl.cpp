#include "subscriptionurl.h"

using namespace Qt::StringLiterals;

namespace Webcal {

QUrl normalizeSubscriptionUrl(const QString &text)
{
    QUrl url(text, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (scheme == "webcal"_L1 || scheme == "webcals"_L1)
        url.setScheme(u"https"_s);
    return url;
}

} // namespace Webcal
