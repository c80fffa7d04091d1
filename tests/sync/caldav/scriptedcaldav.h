#pragma once

// Answers of a scripted CalDAV server for the collection "/cal/", and the
// fixture of the tests that sync one calendar against it.

#include "scriptedhttpserver.h"
#include "syncharness.h"
#include "timeutil.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

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
        out += "<d:response><d:href>" + o.href + "</d:href><d:propstat><d:prop><d:getetag>"
            + QString::fromUtf8(etag).toHtmlEscaped().toUtf8() + "</d:getetag>";
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

inline std::function<QString(const ScriptedHttpServer::Request &)> bodyLacks(const QByteArray &text)
{
    return [text](const ScriptedHttpServer::Request &request) {
        return request.body.contains(text) ? u"body holds "_s + QString::fromUtf8(text) : QString();
    };
}

// A store with one syncing calendar at "/cal/" (ctag "c1") of a scripted
// server; a test class derives from it and calls startCalendar() in init()
// and stop() in cleanup().
class ScriptedCalDavTest : public QObject
{
protected:
    bool startCalendar()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        if (!m_fixture->start())
            return false;
        m_state = m_fixture->state();
        m_server = std::make_unique<ScriptedHttpServer>();
        if (!m_server->start())
            return false;
        m_calendar = addCalDavCalendar(m_state, m_server->url(u"/cal/"_s), {}, u"[\"VEVENT\"]"_s);
        m_calendar.ctag = u"c1"_s;
        return m_state->calendars()->update(m_calendar);
    }

    void stop()
    {
        m_fixture.reset();
        m_server.reset();
    }

    Event event(const QString &uid, const QString &title, const QString &href, const QString &etag, bool pending)
    {
        Event e;
        e.id = newId();
        e.uid = uid;
        e.calendar_id = m_calendar.id;
        e.title = title;
        e.href = href;
        e.etag = etag;
        e.start_time = TimeUtil::utc(QDate(2026, 3, 2), QTime(10, 0));
        e.end_time = e.start_time.addSecs(3600);
        e.created = e.last_modified = QDateTime::currentDateTimeUtc();
        e.sync_status = pending ? u"pending"_s : u"synced"_s;
        e.raw_icalendar = ICalendar::serializeNewEvent(e);
        return e;
    }

    QString storeEvent(const QString &uid, const QString &title, const QString &href, const QString &etag, bool pending)
    {
        const Event e = event(uid, title, href, etag, pending);
        if (!m_state->events()->insert(e))
            qFatal("event not stored");
        return e.id;
    }

    void syncTasksToo(const QString &components)
    {
        m_calendar = *m_state->calendars()->getById(m_calendar.id);
        m_calendar.supported_components = components;
        QVERIFY(m_state->calendars()->update(m_calendar));
    }

    QString storeTask(const QString &uid, const QString &href, const QString &etag)
    {
        Task t;
        t.id = newId();
        t.uid = uid;
        t.calendar_id = m_calendar.id;
        t.title = uid + u" here"_s;
        t.href = href;
        t.etag = etag;
        t.created = t.last_modified = QDateTime::currentDateTimeUtc();
        t.sync_status = u"pending"_s;
        t.raw_icalendar = u"BEGIN:VTODO\r\nUID:%1\r\nSUMMARY:%2\r\nEND:VTODO\r\n"_s.arg(
            uid, t.title); // bare, as some clients store it
        if (!m_state->tasks()->insert(t))
            qFatal("task not stored");
        return t.id;
    }

    // A request the script did not expect, or one that broke its checks,
    // fails the run as the test sees it.
    SyncOutcome sync()
    {
        SyncOutcome outcome = syncOnce(m_state, m_calendar.id, {}, {});
        if (!m_server->problems().isEmpty())
            outcome.failure += u"\nthe server saw: "_s + m_server->problems().join(u'\n');
        return outcome;
    }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    std::unique_ptr<ScriptedHttpServer> m_server;
    Calendar m_calendar;
};
