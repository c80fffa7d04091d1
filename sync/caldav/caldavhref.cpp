#include "caldavhref.h"

#include "caldavxml.h"

#include <QCryptographicHash>

namespace CalDavHref {

QUrl resourceUrl(const QUrl &collection, const QString &decodedHref)
{
    return collection.resolved(QUrl(CalDavXml::encodePath(decodedHref), QUrl::StrictMode));
}

QUrl newResourceUrl(const QUrl &collection, const QString &uid)
{
    QString path = collection.path(QUrl::FullyEncoded);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    const bool fileSafe = !uid.isEmpty() && !uid.contains(QLatin1Char('/')) && !uid.contains(QLatin1Char('\\'))
        && uid != QLatin1String(".") && uid != QLatin1String("..");
    const QByteArray name = fileSafe ? QUrl::toPercentEncoding(uid) // "?", "#", "%" and blanks stay inside the segment
                                     : QCryptographicHash::hash(uid.toUtf8(), QCryptographicHash::Sha1).toHex();
    path += QString::fromLatin1(name) + QLatin1String(".ics");
    QUrl url = collection;
    url.setPath(path, QUrl::StrictMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

QString decodedPath(const QUrl &url)
{
    return url.path(QUrl::FullyDecoded);
}

} // namespace CalDavHref
