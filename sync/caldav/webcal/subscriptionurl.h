#pragma once

#include <QString>
#include <QUrl>

namespace Webcal {

// The address a subscription is fetched from: `text` read tolerantly, with
// the schemes "webcal" and "webcals" (any case) read as https. Host, path and
// query stay as written; an http address stays http.
QUrl normalizeSubscriptionUrl(const QString &text);

} // namespace Webcal
