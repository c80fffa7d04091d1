#include "webcalharness.h"

#include "scriptedhttpserver.h"

#include <QTest>

#include <zlib.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &extra = {},
                  const QByteArray &stamp = "20260101T000000Z")
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:" + stamp
        + "\r\nDTSTART:20260302T090000Z\r\nDURATION:PT30M\r\nSUMMARY:" + summary + "\r\n" + extra + "END:VEVENT\r\n";
}

QByteArray feed(const QByteArray &events, bool ended = true)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//feed//EN\r\n" + events
        + (ended ? "END:VCALENDAR\r\n" : "");
}

QByteArray fiveEvents(const QByteArray &title)
{
    QByteArray events;
    for (int i = 1; i <= 5; ++i)
        events += vevent("e" + QByteArray::number(i), title + ' ' + QByteArray::number(i));
    return events;
}

QStringList titlesOf(const char *title)
{
    QStringList out;
    for (int i = 1; i <= 5; ++i)
        out.append(QString::fromLatin1(title) + u' ' + QString::number(i));
    return out;
}

QByteArray gzip(const QByteArray &plain)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(plain.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(plain.constData()));
    stream.avail_in = uInt(plain.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

QStringList titles(AppState *state, const QString &calendarId)
{
    QStringList out;
    const QList<Event> events = state->events()->getByCalendar(calendarId);
    for (const Event &event : events)
        out.append(event.title);
    out.sort();
    return out;
}

} // namespace

// Feeds in odd encodings and feeds made to cost, from a loopback peer into
// a real store: each keeps what it holds and leaves the program cheap.
class TestWebcalHostile : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

    // One refresh of a new subscription whose peer answers with `body`.
    RefreshOutcome refreshWith(ScriptedHttpServer &server, const QByteArray &body, const QByteArray &contentType,
                               QString *calendarId)
    {
        server.expect("GET", "/feed.ics").reply(200, body, {{"Content-Type", contentType}});
        if (calendarId->isEmpty())
            *calendarId = addSubscription(m_state, server.url(u"/feed.ics"_s).toString()).id;
        return refreshOnce(m_state, *calendarId);
    }

private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup()
    {
        m_state = nullptr;
        m_fixture.reset();
    }

    // Each feed keeps every event it holds, titles decoded per value.
    void feeds_data()
    {
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("events");
        QTest::addColumn<QStringList>("expected"); // titles; empty when not looked at
        const QByteArray cp1252 = vevent("a", "Caf\xe9 M\xfcller");
        const QByteArray utf8 = vevent("b",
                                       "Z\xc3\xbcrich Stra\xc3\x9f"
                                       "e");
        const QStringList both{u"Café Müller"_s, u"Zürich Straße"_s};
        QTest::newRow("charset windows-1252 keeps Café Müller")
            << QByteArray("text/calendar; charset=windows-1252") << feed(cp1252) << 1 << QStringList{both.first()};
        QTest::newRow("a quoted ISO-8859-1 reads as Windows-1252")
            << QByteArray("text/calendar; method=PUBLISH; charset=\"ISO-8859-1\"") << feed(cp1252) << 1
            << QStringList{both.first()};
        QTest::newRow("without a charset, UTF-8 with one stray byte keeps its good lines")
            << QByteArray("text/calendar") << feed(utf8 + cp1252) << 2 << both;
        QTest::newRow("charset utf-8 with one stray byte repairs that line only")
            << QByteArray("text/calendar; charset=utf-8") << feed(cp1252 + utf8) << 2 << both;
        QByteArray exdates = "EXDATE:20260303T090000Z";
        for (QDate day(2026, 3, 4); day < QDate(2026, 3, 4).addDays(100000); day = day.addDays(1))
            exdates += ',' + day.toString(u"yyyyMMdd"_s).toLatin1() + "T090000Z";
        QByteArray secondly;
        for (int i = 0; i < 20; ++i)
            secondly += vevent("s" + QByteArray::number(i), "Every second", "RRULE:FREQ=SECONDLY\r\n");
        QTest::newRow("100,000 EXDATEs") << QByteArray("text/calendar")
                                         << feed(vevent("x", "Daily", "RRULE:FREQ=DAILY\r\n" + exdates + "\r\n")) << 1
                                         << QStringList();
        QTest::newRow("20 series of every second")
            << QByteArray("text/calendar") << feed(secondly) << 20 << QStringList();
    }
    void feeds()
    {
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, body);
        QFETCH(int, events);
        QFETCH(QStringList, expected);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        QString calendarId;
        const RefreshOutcome outcome = refreshWith(server, body, contentType, &calendarId);
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, events);
        QCOMPARE(m_state->events()->getByCalendar(calendarId).size(), events);
        if (!expected.isEmpty())
            QCOMPARE(titles(m_state, calendarId), expected);
        QCOMPARE(server.problems(), QStringList());
    }

    // A feed that arrives cut short, or coded or labelled so that it would
    // read as fewer events, replaces nothing: the calendar keeps the five
    // events of the last whole feed. A whole one, however sent, is read as
    // the bytes say.
    void cutOrMislabelledFeeds_data()
    {
        QTest::addColumn<QByteArray>("body"); // as sent
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("coding"); // Content-Encoding
        QTest::addColumn<bool>("closeForLength"); // no Content-Length: the body ends where the connection does
        QTest::addColumn<SyncResult::Kind>("refused"); // Answer: not refused
        QTest::addColumn<QStringList>("after"); // the titles after the refresh

        const QByteArray whole = feed(fiveEvents("New"));
        const QByteArray cutInThird = whole.left(whole.indexOf("SUMMARY:New 3") + 8);
        const QStringList kept = titlesOf("Old");
        const QStringList renewed = titlesOf("New");
        using Kind = SyncResult::Kind;
        QTest::newRow("no length, the connection closed inside the third event")
            << cutInThird << QByteArray("text/calendar") << QByteArray() << true << Kind::IncompleteListing << kept;
        QTest::newRow("cut between events, no END:VCALENDAR")
            << whole.left(whole.indexOf("BEGIN:VEVENT", whole.indexOf("New 2"))) << QByteArray("text/calendar")
            << QByteArray() << true << Kind::IncompleteListing << kept;
        QTest::newRow("gzip cut in half, its length as sent") << gzip(whole).left(gzip(whole).size() / 2)
                                                              << QByteArray("text/calendar") << QByteArray("gzip")
                                                              << false << Kind::IncompleteListing << kept;
        QTest::newRow("a coding not asked for") << whole << QByteArray("text/calendar") << QByteArray("br") << false
                                                << Kind::Unreadable << kept;
        QTest::newRow("gzip, whole, no length") << gzip(whole) << QByteArray("text/calendar") << QByteArray("gzip")
                                                << true << Kind::Answer << renewed;
        QTest::newRow("a footer after END:VCALENDAR, no length")
            << whole + "\r\n<!-- served by feedd -->\r\n" << QByteArray("text/calendar") << QByteArray() << true
            << Kind::Answer << renewed;

        const QByteArray utf8 = feed(vevent("a", "Caf\xc3\xa9 Z\xc3\xbcrich"));
        const QStringList cafe{u"Café Zürich"_s};
        QTest::newRow("UTF-8 labelled ISO-8859-1 reads as UTF-8")
            << utf8 << QByteArray("text/calendar; charset=ISO-8859-1") << QByteArray() << false << Kind::Answer << cafe;
        QTest::newRow("UTF-8 labelled utf-16 reads as UTF-8")
            << utf8 << QByteArray("text/calendar; charset=utf-16") << QByteArray() << false << Kind::Answer << cafe;
        QTest::newRow("ASCII labelled utf-16 is not emptied")
            << whole << QByteArray("text/calendar; charset=utf-16") << QByteArray() << false << Kind::Answer
            << renewed;
    }
    void cutOrMislabelledFeeds()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, coding);
        QFETCH(bool, closeForLength);
        QFETCH(SyncResult::Kind, refused);
        QFETCH(QStringList, after);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        QString calendarId;
        QCOMPARE(refreshWith(server, feed(fiveEvents("Old")), "text/calendar", &calendarId).failure, QString());
        QCOMPARE(titles(m_state, calendarId), titlesOf("Old"));

        ScriptedHttpServer::Headers headers{{"Content-Type", contentType}};
        if (!coding.isEmpty())
            headers.append({"Content-Encoding", coding});
        ScriptedHttpServer::Expectation &expectation =
            server.expect("GET", "/feed.ics").header("Accept-Encoding", "gzip, deflate").reply(200, body, headers);
        if (closeForLength)
            expectation.endByClosing();
        const RefreshOutcome outcome = refreshOnce(m_state, calendarId);
        if (refused == SyncResult::Kind::Answer) {
            QCOMPARE(outcome.failure, QString());
        } else {
            QVERIFY(!outcome.completed);
            QCOMPARE(outcome.result.kind, refused);
            QCOMPARE(outcome.result.step, SyncResult::Step::Feed);
        }
        QCOMPARE(titles(m_state, calendarId), after);
        QCOMPARE(server.problems(), QStringList());
    }

    // Feeds restamp every event on every download; that alone writes nothing.
    void aChangedStampAloneIsNoChange_data()
    {
        QTest::addColumn<QByteArray>("summary");
        QTest::addColumn<bool>("rewritten");
        QTest::newRow("only DTSTAMP changed") << QByteArray("Same") << false;
        QTest::newRow("DTSTAMP and SUMMARY changed") << QByteArray("Other") << true;
    }
    void aChangedStampAloneIsNoChange()
    {
        QFETCH(QByteArray, summary);
        QFETCH(bool, rewritten);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        QString calendarId;
        QCOMPARE(refreshWith(server, feed(vevent("e", "Same")), "text/calendar", &calendarId).failure, QString());
        const Event before = m_state->events()->getByCalendar(calendarId).value(0);
        const QByteArray later = feed(vevent("e", summary, {}, "20260505T050505Z"));
        QCOMPARE(refreshWith(server, later, "text/calendar", &calendarId).failure, QString());
        const Event after = m_state->events()->getByCalendar(calendarId).value(0);
        QCOMPARE(after.id, before.id);
        QCOMPARE(after.raw_icalendar.contains(u"DTSTAMP:20260505T050505Z"_s), rewritten);
        QCOMPARE(after.title, QString::fromLatin1(summary));
        QCOMPARE(server.problems(), QStringList());
    }
};

QTEST_MAIN(TestWebcalHostile)
#include "tst_webcalhostile.moc"
