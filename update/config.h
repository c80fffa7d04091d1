#pragma once

#include <QString>
#include <QUrl>

namespace TolmUpdate {

// Where a product looks for its releases and what it is running now.
// The manifest is read from manifestBaseUrl + "latest.json".
struct Config
{
    QString product;
    QString channel = QStringLiteral("stable");
    QUrl manifestBaseUrl;
    QString currentVersion;
};

} // namespace TolmUpdate
