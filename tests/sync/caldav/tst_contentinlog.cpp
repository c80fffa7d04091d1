#include "eventrepository.h"
#include "icalendar.h"
#include "logcapture.h"
#include "scriptedcaldav.h"
#include "taskrepository.h"

#include <QLoggingCategory>
#include <QTest>

namespace {

// Appears in every piece of user content below and nowhere else: not in an
// id, a UID, an href or an ETag.
const QString kMarker = u"Hemlock"_s;

enum class Scenario {
    EventWrite, // a new event is sent
    EventDelete, // a deleted event's resource is removed
    TaskWrite, // a new to-do is sent
    ServerObject // the server lists an object nobody can read
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

// Sync runs against a scripted server that fails each way a write or a
// read can, with every category at debug level: the title, the location, the
// description and the calendar's name never reach a line above debug, which
// is all a user's log keeps.
class TestContentInLog : public ScriptedCalDavTest
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(QLoggingCategory::defaultCategory()->isDebugEnabled()); }

    void init()
    {
        QVERIFY(startCalendar());
        syncTasksToo(u"[\"VEVENT\",\"VTODO\"]"_s);
        m_calendar.name = kMarker + u" family"_s;
        QVERIFY(m_state->calendars()->update(m_calendar));
    }
    void cleanup() { stop(); }

    void userContentStaysBelowInfo_data()
    {
        QTest::addColumn<Scenario>("scenario");
        QTest::addColumn<int>("status"); // the server's answer; 0: the connection drops
        QTest::addColumn<QString>("logged"); // what the path writes above debug

        // Push
        QTest::newRow("event write refused -> the item waits") << Scenario::EventWrite << 403 << u"refused"_s;
        QTest::newRow("event write fails on the server -> the run fails")
            << Scenario::EventWrite << 500 << u"sync failed"_s;
        QTest::newRow("connection drops during an event write -> the run fails")
            << Scenario::EventWrite << 0 << u"Push network error"_s;
        QTest::newRow("event delete fails on the server -> the run fails")
            << Scenario::EventDelete << 500 << u"Push HTTP 500"_s;
        QTest::newRow("to-do written") << Scenario::TaskWrite << 201 << u"PUT task"_s;
        QTest::newRow("to-do write refused -> the item waits") << Scenario::TaskWrite << 403 << u"refused"_s;
        // Pull
        QTest::newRow("unreadable object listed -> counted, left alone")
            << Scenario::ServerObject << 207 << u"readable in"_s;
    }

    void userContentStaysBelowInfo()
    {
        QFETCH(Scenario, scenario);
        QFETCH(int, status);
        QFETCH(QString, logged);
        const QString title = u"Biopsy results with Dr. "_s + kMarker;

        switch (scenario) {
        case Scenario::EventWrite: {
            Event e = event(u"visit"_s, title, {}, {}, true);
            e.location = kMarker + u" Clinic, 4 Elm Row"_s;
            e.description = u"Ask "_s + kMarker + u" about the scan"_s;
            e.raw_icalendar = ICalendar::serializeNewEvent(e);
            QVERIFY(m_state->events()->insert(e));
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
            auto &put = m_server->expect("PUT", "/cal/visit.ics").bodyContains(kMarker.toUtf8());
            if (status == 0)
                put.reply(201, "<partial answer>").cutOffAfter(4);
            else
                put.reply(status);
            break;
        }
        case Scenario::EventDelete: {
            const QString id = storeEvent(u"gone"_s, title, u"/cal/gone.ics"_s, u"g1"_s, false);
            QVERIFY(m_state->events()->remove(id));
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
            m_server->expect("DELETE", "/cal/gone.ics").reply(status);
            break;
        }
        case Scenario::TaskWrite: {
            Task task = *m_state->tasks()->getById(storeTask(u"chore"_s, {}, {}));
            task.title = title;
            task.raw_icalendar = ICalendar::serializeTask(task);
            QVERIFY(m_state->tasks()->update(task));
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
            m_server->expect("PUT", "/cal/chore.ics").bodyContains(kMarker.toUtf8()).reply(status);
            break;
        }
        case Scenario::ServerObject: {
            syncTasksToo(u"[\"VEVENT\"]"_s);
            // Cut short by another client: no end, no start, no UID.
            const QString broken = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nSUMMARY:%1\r\n"_s.arg(title);
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
            m_server->expect("REPORT", "/cal/").reply(status, objects({{"/cal/note.ics", "n1", {}}}));
            m_server->expect("REPORT", "/cal/")
                .bodyContains("multiget")
                .reply(status, objects({{"/cal/note.ics", "n1", broken}}));
            break;
        }
        }

        LogCapture log;
        sync();
        QCOMPARE(m_server->problems(), QStringList());
        const QStringList aboveDebug = LogCapture::linesAboveDebug();
        // The failure path ran and wrote its line.
        QVERIFY2(!aboveDebug.filter(logged).isEmpty(), qPrintable(aboveDebug.join(u'\n')));
        QCOMPARE(aboveDebug.filter(kMarker), QStringList());
    }
};

QTEST_MAIN(TestContentInLog)
#include "tst_contentinlog.moc"
