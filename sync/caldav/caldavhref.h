#pragma once

#include <QString>
#include <QUrl>

#include <optional>

// Hrefs of calendar object resources. They are kept as fully decoded paths
// (as CalDavParse::Resource carries them) and encoded again whenever a
// request is made for one.
namespace CalDavHref {

// The resource at `decodedHref` on the collection's server; an invalid URL,
// which no request goes to, when the href lies outside the collection.
QUrl resourceUrl(const QUrl &collection, const QString &decodedHref);
// The fully decoded path of `url` when it names a member of `collection`:
// the same scheme, host and port, a path below the collection's, and no "."
// or ".." segment left once decoded (an encoded "%2e%2e" or "%2F" would lead
// elsewhere when the path is encoded again). Nothing for any other URL, the
// collection itself included.
std::optional<QString> memberPath(const QUrl &collection, const QUrl &url);
// Whether `path` (fully decoded) is the collection's own, with or without
// its final "/".
bool isCollectionPath(const QUrl &collection, const QString &path);
// Where a new object with `uid` is created: the collection URL, a "/" when
// it has none, the uid percent-encoded as one path segment, then ".ics".
// Servers that store resources as files refuse a name holding a (even an
// encoded) "/" or "\"; such a uid, and "." or "..", is named by the hex
// SHA-1 of the uid instead, the same name on every attempt.
QUrl newResourceUrl(const QUrl &collection, const QString &uid);
// The fully decoded path of `url`, the form hrefs are stored in.
QString decodedPath(const QUrl &url);

} // namespace CalDavHref
