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
        const QList<Event> parsed = ICalendar::parseEvents(Webcal::decodeFeed(body));
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
};

QTEST_GUILESS_MAIN(TestWebcalCorpus)
#include "tst_webcalcorpus.moc"
