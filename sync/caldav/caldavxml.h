#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Request bodies of PROPFIND, REPORT, PROPPATCH and MKCALENDAR as UTF-8. Every
// body starts with the XML declaration; one element per line, two spaces of
// indent per level. Every text that goes into a body is XML-escaped.
namespace CalDavXml {

QByteArray principalPropfindBody();
QByteArray homeSetPropfindBody();
QByteArray calendarListPropfindBody();
// The collection's change markers: getctag and sync-token.
QByteArray ctagPropfindBody();
// `start` and `end` may be invalid; with neither valid every object of the
// component is asked for.
QByteArray calendarQueryBody(const QDateTime &start, const QDateTime &end, const QString &component);
// The same query asking for ETags only: the listing a sync compares with
// what it holds before fetching the changed objects.
QByteArray etagQueryBody(const QString &component);
// `hrefs` are decoded paths as CalDavParse::Resource carries them.
QByteArray multigetBody(const QStringList &hrefs);
QByteArray proppatchCalendarBody(const QString &name, const QString &color, const QString &description);
QByteArray mkcalendarBody(const QString &name, const QString &color, const QString &description);

QByteArray escape(const QString &text);
// "#4285f4" -> "#4285F4FF"; an alpha pair is kept; no other check is made.
QString normalizeColor(const QString &color);
// UTC "yyyyMMddTHHmmssZ".
QString formatUtc(const QDateTime &dateTime);
// A decoded path back in its percent-encoded wire form ("/cal/a b.ics" ->
// "/cal/a%20b.ics"), for d:href elements and for resolving against a URL.
QString encodePath(const QString &decodedPath);

} // namespace CalDavXml
