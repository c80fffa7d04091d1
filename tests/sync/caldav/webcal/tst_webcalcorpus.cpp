#include "webcalharness.h"

#include "feedreplace.h"
#include "feedtext.h"
#include "icalendar.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

// Feeds written the way common producers write them (data/feeds/*.ics), each
// with the events the calendar must hold after it beside it (*.expected, one
// line per event as eventLines() prints them).
class TestWebcalCorpus : public QObject
{
    Q_OBJECT
private:
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_state = m_fixture.start();
        QVERIFY(m_state);
    }

    void feed_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(CALENDAR_TEST_DATA_DIR "/feeds"));
        const QStringList files = dir.entryList({u"*.ics"_s}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 6);
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << dir.filePath(file);
    }

    // The feed's file, fetched into a fresh subscription, leaves exactly the
    // expected events; fetched a second time it changes nothing.
    void feed()
    {
        QFETCH(QString, path);
        const Calendar calendar = addSubscription(m_state, u"https://127.0.0.1:9/feed.ics"_s);
        const QByteArray body = read(path);
        QVERIFY(!body.isEmpty());
        QVERIFY(Webcal::holdsCalendarData(body));
        const QList<Event> parsed = Webcal::parseFeedEvents(body);
        const Webcal::FeedReplaceResult first = Webcal::replaceCalendarEvents(m_state->database(), m_state->events(),
                                                                              calendar.id, parsed,
                                                                              QDateTime::currentDateTimeUtc());
        QVERIFY(first.committed);
        QCOMPARE(first.failed, 0);

        QString expectedPath = path;
        expectedPath.replace(".ics"_L1, ".expected"_L1);
        QStringList expected = QString::fromUtf8(read(expectedPath)).split(u'\n', Qt::SkipEmptyParts);
        expected.sort();
        QCOMPARE(eventLines(m_state, calendar.id), expected);

        const Webcal::FeedReplaceResult second = Webcal::replaceCalendarEvents(m_state->database(), m_state->events(),
                                                                               calendar.id, parsed,
                                                                               QDateTime::currentDateTimeUtc());
        QCOMPARE(second.inserted + second.updated + second.deleted, 0);
        QCOMPARE(second.unchanged, expected.size());
    }

    // A feed larger than one write of the store: every event of it stands,
    // a later feed that moves on by some thousands adds, keeps and removes
    // across those writes.
    void feedLargerThanOneWrite()
    {
        const auto feed = [](int first, int last) {
            QByteArray body = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n";
            for (int i = first; i < last; ++i)
                body += "BEGIN:VEVENT\r\nUID:e" + QByteArray::number(i) + "\r\nDTSTAMP:20260101T000000Z\r\n"
                    "DTSTART:20260301T090000Z\r\nSUMMARY:Event " + QByteArray::number(i) + "\r\nEND:VEVENT\r\n";
            return body + "END:VCALENDAR\r\n";
        };
        const Calendar calendar = addSubscription(m_state, u"https://127.0.0.1:9/large.ics"_s);
        const auto replace = [&](const QByteArray &body) {
            return Webcal::replaceCalendarEvents(m_state->database(), m_state->events(), calendar.id,
                                                 Webcal::parseFeedEvents(body), QDateTime::currentDateTimeUtc());
        };
        const Webcal::FeedReplaceResult first = replace(feed(0, 4500));
        QVERIFY(first.committed);
        QCOMPARE(first.inserted, 4500);
        const Webcal::FeedReplaceResult second = replace(feed(2100, 6600));
        QVERIFY(second.committed);
        QCOMPARE(QList<int>({second.inserted, second.unchanged, second.deleted, second.failed}),
                 QList<int>({2100, 2400, 2100, 0}));
        QCOMPARE(eventLines(m_state, calendar.id).size(), 4500);
    }
};

QTEST_GUILESS_MAIN(TestWebcalCorpus)
#include "tst_webcalcorpus.moc"
