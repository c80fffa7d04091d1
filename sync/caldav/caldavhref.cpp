#include "caldavhref.h"

#include "caldavxml.h"

#include <QCryptographicHash>
#include <QStringList>

#include <algorithm>

namespace CalDavHref {

namespace {

int portOf(const QUrl &url)
{
    return url.port(url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0 ? 443 : 80);
}

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

bool hasDotSegment(const QString &path)
{
    const QStringList segments = path.split(QLatin1Char('/'));
    return std::any_of(segments.cbegin(), segments.cend(), [](const QString &segment) {
        return segment == QLatin1String(".") || segment == QLatin1String("..");
    });
}

} // namespace

QUrl resourceUrl(const QUrl &collection, const QString &decodedHref)
{
    const QUrl url = collection.resolved(QUrl(CalDavXml::encodePath(decodedHref), QUrl::StrictMode));
    // A row stored before hrefs were checked may name another calendar.
    return memberPath(collection, url) ? url : QUrl();
}

std::optional<QString> memberPath(const QUrl &collection, const QUrl &url)
{
    if (url.scheme().compare(collection.scheme(), Qt::CaseInsensitive) != 0
        || url.host().compare(collection.host(), Qt::CaseInsensitive) != 0 || portOf(url) != portOf(collection))
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    const QString prefix = withSlash(collection.path(QUrl::FullyDecoded));
    if (path.size() <= prefix.size() || !path.startsWith(prefix) || hasDotSegment(path))
        return std::nullopt;
    return path;
}

bool isCollectionPath(const QUrl &collection, const QString &path)
{
    return withSlash(path) == withSlash(collection.path(QUrl::FullyDecoded));
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
