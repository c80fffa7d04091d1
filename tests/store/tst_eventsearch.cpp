// Search over a store of 10,000 events, 50 of them series with moved and
// renamed occurrences: for every range preset the search lists exactly what
// an expansion of the same rows over the range holds, one entry per series
// (its first occurrence from now on, else its last one) and one per changed
// occurrence, and a limit keeps the nearest.

#include "eventrepository.h"
#include "recurrence.h"
#include "storefixture.h"
#include "storetransaction.h"
#include "textsearch.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

namespace {

const QStringList kCalendars = {QStringLiteral("home"), QStringLiteral("work")};
const QStringList kTitles = {QStringLiteral("Team standup"),  QStringLiteral("Lunch with Ann"),
                             QStringLiteral("Ärger im Büro"), QStringLiteral("Project review"),
                             QStringLiteral("Dentist"),       QStringLiteral("Fête d'été")};
const QStringList kRules = {QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR"),
                            QStringLiteral("FREQ=DAILY"),
                            QStringLiteral("FREQ=WEEKLY;INTERVAL=2"),
                            QStringLiteral("FREQ=MONTHLY;BYMONTHDAY=3"),
                            QStringLiteral("FREQ=DAILY;COUNT=20"),
                            QStringLiteral("FREQ=WEEKLY;UNTIL=20260101T000000Z")};
const QList<QByteArray> kZones = {"Europe/Berlin", "America/New_York"};

// Odd seconds, so that no two starts lie equally far from it.
const QDateTime kNear(QDate(2026, 3, 15), QTime(10, 0, 17, 500));

// An occurrence changed on its own is an entry of its own.
QString seriesKey(const Event &e)
{
    if (e.isOverride())
        return u'!' + e.id;
    return e.recurrence_id.isEmpty() ? u'#' + e.id : e.calendar_id + u'|' + e.uid;
}

QStringList listed(const QList<Event> &events)
{
    QStringList out;
    for (const Event &e : events)
        out.append(e.id + u'@' + e.start_time.toUTC().toString(Qt::ISODate));
    out.sort();
    return out;
}

} // namespace

class TestEventSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        m_store = std::make_unique<StoreFixture>();
        seedCalendars(*m_store, kCalendars);
        m_events = std::make_unique<EventRepository>(m_store->db());
        QRandomGenerator random(29);
        StoreTransaction batch(m_store->db());
        for (int i = 0; i < 9950; ++i) {
            QDateTime start = kNear.addDays(random.bounded(-4000, 4000)).addSecs(random.bounded(96) * 900 - 36000);
            start.setTime(QTime(start.time().hour(), start.time().minute() / 15 * 15));
            Event e = makeEvent(QStringLiteral("e%1").arg(i), kCalendars.at(i % 2), start,
                                start.addSecs(1800 * (1 + random.bounded(4))));
            if (i % 20 == 0) {
                e.is_all_day = true;
                e.start_time = TimeUtil::utc(start.date());
                e.end_time = e.start_time.addDays(1 + random.bounded(3));
            }
            e.title = kTitles.at(random.bounded(int(kTitles.size())));
            QVERIFY(m_events->insert(e));
        }
        for (int i = 0; i < 50; ++i) {
            const QTimeZone zone(kZones.at(i % 2));
            // The first: a weekday stand-up that began 60 days ago.
            const int daysAgo = i == 0 ? 60 : random.bounded(1, 800);
            const QDateTime start(kNear.date().addDays(-daysAgo), QTime(9 + i % 8, 0), zone);
            Event series = makeEvent(QStringLiteral("s%1").arg(i), kCalendars.at(i % 2), start, start.addSecs(1800));
            series.timezone = QString::fromLatin1(kZones.at(i % 2));
            series.recurrence_rule = kRules.at(i % kRules.size());
            series.title = kTitles.at(i % kTitles.size());
            QVERIFY(m_events->insert(series));
            if (i % 5 != 0)
                continue;
            // An occurrence moved two hours, every other one renamed.
            const QList<Event> next = Recurrence::expandEvent(series, kNear, kNear.addDays(30));
            if (next.isEmpty())
                continue;
            Event moved = makeEvent(QStringLiteral("o%1").arg(i), series.calendar_id,
                                    next.first().start_time.addSecs(7200), next.first().start_time.addSecs(9000));
            moved.master_event_uid = series.uid;
            moved.recurrence_id = next.first().recurrence_id;
            moved.title = i % 10 == 0 ? QStringLiteral("Moved elsewhere") : series.title;
            QVERIFY(m_events->insert(moved));
        }
        QVERIFY(batch.keep());
    }
    void cleanupTestCase()
    {
        m_events.reset();
        m_store.reset();
    }

    void caseIsIgnoredBeyondAscii_data()
    {
        QTest::addColumn<QString>("needle");
        QTest::addColumn<QString>("haystack");
        QTest::addColumn<bool>("found");
        QTest::newRow("umlaut") << QStringLiteral("ärger") << QStringLiteral("Ärger im Büro") << true;
        QTest::newRow("sharp s for SS") << QStringLiteral("straße") << QStringLiteral("STRASSE 4") << true;
        QTest::newRow("ss for sharp s") << QStringLiteral("STRASSE") << QStringLiteral("Hauptstraße") << true;
        QTest::newRow("dotted capital I") << QStringLiteral("izmir") << QStringLiteral("Flug nach İzmir") << true;
        QTest::newRow("accent typed apart")
            << QStringLiteral("ÉTÉ") << QStringLiteral("Fête d'e\u0301te\u0301") << true;
        QTest::newRow("accent still counts") << QStringLiteral("ete") << QStringLiteral("Fête d'été") << false;
    }
    void caseIsIgnoredBeyondAscii()
    {
        QFETCH(QString, needle);
        QFETCH(QString, haystack);
        const TextSearch::Needle folded(needle);
        QTEST(TextSearch::contains(QUtf8StringView(haystack.toUtf8()), folded), "found");
        QTEST(TextSearch::contains(haystack, folded), "found");
    }

    void presetsListWhatTheExpansionHolds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("fromDays");
        QTest::addColumn<int>("toDays");
        const struct
        {
            const char *name;
            int from;
            int to;
        } presets[] = {{"all time", -3650, 3650},
                       {"past 30 days", -30, 7},
                       {"next 30 days", 0, 30},
                       {"next 12 months", 0, 365}};
        for (const QString &text : {QStringLiteral("STANDUP"), QStringLiteral("ärger im")}) {
            for (const auto &preset : presets)
                QTest::addRow("%s, %s", preset.name, qPrintable(text)) << text << preset.from << preset.to;
        }
    }
    void presetsListWhatTheExpansionHolds()
    {
        QFETCH(QString, text);
        QFETCH(int, fromDays);
        QFETCH(int, toDays);
        const QDateTime from = kNear.addDays(fromDays);
        const QDateTime to = kNear.addDays(toDays);

        // Expected: every matching occurrence of the range's rows, each series
        // at its first occurrence from now on, else its last before.
        QHash<QString, Event> bySeries;
        const QList<Event> all = Recurrence::expandEvents(m_events->getInRange(from, to), from, to);
        for (const Event &o : all) {
            if (!o.title.contains(text, Qt::CaseInsensitive) && !o.location.contains(text, Qt::CaseInsensitive)
                && !o.description.contains(text, Qt::CaseInsensitive))
                continue;
            const auto it = bySeries.find(seriesKey(o));
            if (it == bySeries.end()) {
                bySeries.insert(seriesKey(o), o);
                continue;
            }
            const bool upcoming = o.start_time >= kNear;
            const bool keptUpcoming = it->start_time >= kNear;
            if (upcoming != keptUpcoming ? upcoming
                                         : (upcoming ? o.start_time < it->start_time : o.start_time > it->start_time))
                *it = o;
        }
        QList<Event> expected = bySeries.values();
        QVERIFY(!expected.isEmpty());

        const TextSearch::Needle needle(text);
        const auto search = [&](int limit) {
            return TextSearch::occurrences(m_events->searchInRange(text, from, to, kCalendars, kNear, limit), needle,
                                           from, to, kNear, limit);
        };
        QCOMPARE(listed(search(100000)), listed(expected));

        // The dialog's limit keeps the nearest.
        const auto distance = [](const Event &e) { return qAbs(e.start_time.msecsTo(kNear)); };
        std::sort(expected.begin(), expected.end(),
                  [&](const Event &a, const Event &b) { return distance(a) < distance(b); });
        expected = expected.mid(0, 300);
        QCOMPARE(listed(search(300)), listed(expected));
    }

    // An all-day series is found at its first day yet to begin here.
    void anAllDaySeriesIsFoundAtItsNextDay_data()
    {
        QTest::addColumn<QTime>("now"); // local, on 15 March 2026
        QTest::newRow("late in the evening, when UTC has the next date") << QTime(21, 0);
        QTest::newRow("just after midnight, when UTC has the date before") << QTime(0, 30);
    }
    void anAllDaySeriesIsFoundAtItsNextDay()
    {
        QFETCH(QTime, now);
        Event rota = makeEvent(QStringLiteral("rota"), kCalendars.first(), TimeUtil::utc(QDate(2026, 3, 1)),
                               TimeUtil::utc(QDate(2026, 3, 2)));
        rota.is_all_day = true;
        rota.recurrence_rule = QStringLiteral("FREQ=DAILY");
        const QDateTime near(QDate(2026, 3, 15), now);
        const QList<Event> found = TextSearch::occurrences({rota}, TextSearch::Needle(rota.title), near.addDays(-30),
                                                           near.addDays(30), near, 10);
        QCOMPARE(listed(found), QStringList{QStringLiteral("rota@2026-03-16T00:00:00Z")});
    }

private:
    std::unique_ptr<StoreFixture> m_store;
    std::unique_ptr<EventRepository> m_events;
};

QTEST_GUILESS_MAIN(TestEventSearch)
#include "tst_eventsearch.moc"
