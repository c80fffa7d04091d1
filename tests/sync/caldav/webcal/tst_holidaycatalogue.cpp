#include "webcalharness.h"

#include "holidaycatalogue.h"
#include "scriptedhttpserver.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The built-in list of public-holiday calendars, and one of them subscribed
// and fetched from a local mirror (the address template is configuration;
// nothing here reaches the outside provider).
class TestHolidayCatalogue : public QObject
{
    Q_OBJECT
private:
    ScriptedHttpServer m_mirror;

    static QStringList names(const QList<Webcal::HolidayFeed> &feeds)
    {
        QStringList out;
        for (const Webcal::HolidayFeed &feed : feeds)
            out.append(feed.name);
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_mirror.start());
        // Before the catalogue is first built, which reads it once.
        qputenv(Webcal::kHolidayFeedTemplateVariable,
                m_mirror.url(QString()).toString().toUtf8() + "/ical/en.%1%23holiday/public/basic.ics");
    }

    void regions()
    {
        QCOMPARE(Webcal::holidayRegions(),
                 (QStringList{u"Americas"_s, u"Europe"_s, u"Asia Pacific"_s, u"Middle East & Africa"_s}));
        QCOMPARE(Webcal::holidayFeeds().size(), 21);
    }

    void feedsInRegion_data()
    {
        QTest::addColumn<QString>("region");
        QTest::addColumn<QStringList>("countries");
        QTest::newRow("Americas") << u"Americas"_s
                                  << QStringList{u"United States"_s, u"Canada"_s, u"Mexico"_s, u"Brazil"_s,
                                                 u"Argentina"_s};
        QTest::newRow("Europe, United Kingdom to Poland")
            << u"Europe"_s << QStringList{u"United Kingdom"_s, u"Germany"_s,     u"France"_s, u"Spain"_s,
                                          u"Italy"_s,          u"Netherlands"_s, u"Sweden"_s, u"Poland"_s};
        QTest::newRow("Asia Pacific") << u"Asia Pacific"_s
                                      << QStringList{u"Japan"_s,       u"Australia"_s, u"India"_s,
                                                     u"South Korea"_s, u"China"_s,     u"New Zealand"_s};
        QTest::newRow("Middle East & Africa")
            << u"Middle East & Africa"_s << QStringList{u"Israel"_s, u"South Africa"_s};
        QTest::newRow("the case of a region counts") << u"europe"_s << QStringList();
        QTest::newRow("an unknown region has none") << u"Antarctica"_s << QStringList();
    }
    void feedsInRegion()
    {
        QFETCH(QString, region);
        QFETCH(QStringList, countries);
        QCOMPARE(names(Webcal::holidayFeedsInRegion(region)), countries);
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("slug");
        QTest::newRow("United States") << u"United States"_s << u"usa"_s;
        QTest::newRow("Germany") << u"Germany"_s << u"german"_s;
        QTest::newRow("South Korea keeps its underscore") << u"South Korea"_s << u"south_korea"_s;
        QTest::newRow("Israel") << u"Israel"_s << u"jewish"_s;
    }
    // An entry's address differs from the template only by its slug.
    void addresses()
    {
        QFETCH(QString, country);
        QFETCH(QString, slug);
        const QList<Webcal::HolidayFeed> feeds = Webcal::holidayFeeds();
        const auto feed = std::find_if(feeds.cbegin(), feeds.cend(),
                                       [&country](const Webcal::HolidayFeed &f) { return f.name == country; });
        QVERIFY(feed != feeds.cend());
        QString expected = Webcal::holidayFeedTemplate();
        expected.replace(expected.indexOf("%1"_L1), 2, slug);
        QCOMPARE(feed->url, expected);
        QCOMPARE(Webcal::holidayFeedUrl(slug), expected);
        QCOMPARE(Webcal::holidayFeeds(), feeds);
    }

    // The provider's own address: https, the English variant of the
    // country's calendar, its percent-encoded characters left as they are.
    void defaultTemplate()
    {
        const QString feedTemplate = Webcal::defaultHolidayFeedTemplate();
        QVERIFY(feedTemplate.startsWith("https://"_L1));
        QCOMPARE(feedTemplate.count("%1"_L1), 1);
        QVERIFY(feedTemplate.contains("/en.%1%23holiday%40"_L1));
        QVERIFY(feedTemplate.endsWith("/public/basic.ics"_L1));
        QVERIFY(QUrl(feedTemplate.arg(u"german"_s), QUrl::StrictMode).isValid());
    }

    // Subscribed as the holiday picker subscribes: a calendar under the
    // subscriptions account with the entry's address; from then on marked
    // as subscribed and fetched like any other feed.
    void subscribeAndFetch()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const Webcal::HolidayFeed germany = Webcal::holidayFeedsInRegion(u"Europe"_s).value(1);
        QCOMPARE(germany.name, u"Germany"_s);
        QVERIFY(!Webcal::isSubscribed(germany, state->calendars()->getAll()));
        const Calendar calendar = addSubscription(state, germany.url, germany.name);
        QVERIFY(Webcal::isSubscribed(germany, state->calendars()->getAll()));
        QVERIFY(
            !Webcal::isSubscribed(Webcal::holidayFeedsInRegion(u"Europe"_s).value(2), state->calendars()->getAll()));

        m_mirror.expect("GET", "/ical/en.german%23holiday/public/basic.ics")
            .reply(200,
                   "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:unity@holidays\r\n"
                   "DTSTART;VALUE=DATE:20261003\r\nDTEND;VALUE=DATE:20261004\r\nSUMMARY:Day of Unity\r\n"
                   "END:VEVENT\r\nEND:VCALENDAR\r\n");
        const RefreshOutcome outcome = refreshOnce(state, calendar.id);
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(m_mirror.problems(), QStringList());
        QCOMPARE(eventLines(state, calendar.id),
                 QStringList{u"unity@holidays | - | Day of Unity | - | 2026-10-03 | 2026-10-04"_s});
    }
};

QTEST_GUILESS_MAIN(TestHolidayCatalogue)
#include "tst_holidaycatalogue.moc"
