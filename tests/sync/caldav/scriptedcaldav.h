#pragma once

// Answers of a scripted CalDAV server for the collection "/cal/".

#include <QByteArray>
#include <QList>
#include <QString>

using namespace Qt::StringLiterals;

inline QByteArray multistatus(const QByteArray &responses)
{
    return "<?xml version=\"1.0\"?>\n<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\" "
           "xmlns:cs=\"http://calendarserver.org/ns/\">"
        + responses + "</d:multistatus>";
}

inline QByteArray markers(const QByteArray &ctag)
{
    return multistatus("<d:response><d:href>/cal/</d:href><d:propstat><d:prop><cs:getctag>" + ctag
                       + "</cs:getctag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>");
}

// href -> ETag, and the object's text when it is sent along.
struct Object
{
    QByteArray href;
    QByteArray etag;
    QString ics;
};

inline QByteArray objects(const QList<Object> &list)
{
    QByteArray out;
    for (const Object &o : list) {
        // A weak tag goes as it is, a strong one in quotes.
        const QByteArray etag = o.etag.startsWith("W/") ? o.etag : "\"" + o.etag + "\"";
        out += "<d:response><d:href>" + o.href + "</d:href><d:propstat><d:prop><d:getetag>" + QString::fromUtf8(etag).toHtmlEscaped().toUtf8()
            + "</d:getetag>";
        if (!o.ics.isEmpty())
            out += "<c:calendar-data>" + o.ics.toHtmlEscaped().toUtf8() + "</c:calendar-data>";
        out += "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
    }
    return multistatus(out);
}

inline QString vevent(const QString &uid, const QString &summary, const QString &extra = {})
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Server//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
           "DTSTAMP:20260301T090000Z\r\nDTSTART:20260302T100000Z\r\nDTEND:20260302T110000Z\r\nSUMMARY:%2\r\n%3"
           "END:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid, summary, extra);
}

