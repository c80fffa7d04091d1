#pragma once

#include <QString>
#include <QUrl>

// Hrefs of calendar object resources. They are kept as fully decoded paths
// (as CalDavParse::Resource carries them) and encoded again whenever a
// request is made for one.
namespace CalDavHref {

// The resource at `decodedHref` on the collection's server.
QUrl resourceUrl(const QUrl &collection, const QString &decodedHref);
// Where a new object with `uid` is created: the collection URL, a "/" when
// it has none, the uid percent-encoded as one path segment, then ".ics".
// Servers that store resources as files refuse a name holding a (even an
// encoded) "/" or "\"; such a uid, and "." or "..", is named by the hex
// SHA-1 of the uid instead, the same name on every attempt.
QUrl newResourceUrl(const QUrl &collection, const QString &uid);
// The fully decoded path of `url`, the form hrefs are stored in.
QString decodedPath(const QUrl &url);

} // namespace CalDavHref
