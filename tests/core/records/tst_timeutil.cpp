#include "icalendar.h"
#include "timeutil.h"

#include <QTest>

class TestTimeUtil : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storageRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime noonUtc = TimeUtil::utc(QDate(2024, 3, 31), QTime(12, 0));
        QTest::newRow("Z suffix") << QStringLiteral("2024-03-31T12:00:00Z") << noonUtc;
        QTest::newRow("Z with ms") << QStringLiteral("2024-03-31T12:00:00.000Z") << noonUtc;
        QTest::newRow("offset") << QStringLiteral("2024-03-31T14:00:00+02:00") << noonUtc;
        QTest::newRow("sqlite datetime('now') is UTC")
            << QStringLiteral("2024-03-31 12:00:00") << noonUtc;
        QTest::newRow("no suffix is local time")
            << QStringLiteral("2024-03-31T12:00:00")
            << QDateTime(QDate(2024, 3, 31), QTime(12, 0), Qt::LocalTime);
        QTest::newRow("empty") << QString() << QDateTime();
        QTest::newRow("garbage") << QStringLiteral("yesterday") << QDateTime();
    }
    void storageRoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const QDateTime parsed = TimeUtil::fromStorage(text);
        QCOMPARE(parsed.isValid(), expected.isValid());
        if (expected.isValid()) {
            QCOMPARE(parsed.toMSecsSinceEpoch(), expected.toMSecsSinceEpoch());
            QCOMPARE(TimeUtil::fromStorage(TimeUtil::toStorage(parsed)), expected);
        }
    }

    // Local and all-day values keep their wall clock and date in storage; a
    // value converted to UTC would land on another date east of Greenwich.
    void storageKeepsTheRepresentation_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTC writes Z")
            << TimeUtil::utc(QDate(2024, 5, 1), QTime(10, 0)) << QStringLiteral("2024-05-01T10:00:00Z");
        QTest::newRow("local midnight writes no suffix")
            << QDateTime(QDate(2024, 5, 1), QTime(0, 0), Qt::LocalTime)
            << QStringLiteral("2024-05-01T00:00:00");
        QTest::newRow("fixed offset writes the offset")
            << QDateTime(QDate(2024, 5, 1), QTime(10, 0), Qt::OffsetFromUTC, 7200)
            << QStringLiteral("2024-05-01T10:00:00+02:00");
    }
    void storageKeepsTheRepresentation()
    {
        QFETCH(QDateTime, value);
        QFETCH(QString, text);
        QCOMPARE(TimeUtil::toStorage(value), text);
        const QDateTime back = TimeUtil::fromStorage(text);
        QCOMPARE(back.timeSpec(), value.timeSpec());
        QCOMPARE(back.date(), value.date());
        QCOMPARE(back.time(), value.time());
    }

    // 2024-03-31 02:30 does not exist in Berlin; a UTC value must not go
    // through local time and get shifted by the gap.
    void icalUtcNeverTouchesLocalTime()
    {
        const QDateTime dt = TimeUtil::fromIcalUtc(QStringLiteral("20240331T023000Z"));
        QVERIFY(dt.isValid());
        QCOMPARE(dt.timeSpec(), Qt::UTC);
        QCOMPARE(dt.time(), QTime(2, 30));
        QCOMPARE(TimeUtil::toIcalUtc(dt), QStringLiteral("20240331T023000Z"));
        QVERIFY(!TimeUtil::fromIcalUtc(QStringLiteral("20240331T0230Z")).isValid());
        QVERIFY(!TimeUtil::fromIcalUtc(QStringLiteral("20241331T023000Z")).isValid());
    }

    void wallClocksAroundDaylightSavingChanges_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QDateTime>("wallClock");
        QTest::addColumn<QDateTime>("expectedUtc");
        const auto utc = [](int month, int day, int h, int m) { return TimeUtil::utc(QDate(2024, month, day), QTime(h, m)); };
        const auto wall = [](int month, int day, int h, int m) { return QDateTime(QDate(2024, month, day), QTime(h, m), Qt::UTC); };
        QTest::newRow("Berlin: 02:30 in the spring gap is 03:30 summer time")
            << "Europe/Berlin" << wall(3, 31, 2, 30) << utc(3, 31, 1, 30);
        QTest::newRow("Berlin: 02:30 on the autumn change is the first, summer-time one")
            << "Europe/Berlin" << wall(10, 27, 2, 30) << utc(10, 27, 0, 30);
        QTest::newRow("Berlin: 03:00 after the autumn change is winter time")
            << "Europe/Berlin" << wall(10, 27, 3, 0) << utc(10, 27, 2, 0);
        QTest::newRow("New York: 02:30 in the spring gap is 03:30 daylight time")
            << "America/New_York" << wall(3, 10, 2, 30) << utc(3, 10, 7, 30);
        QTest::newRow("New York: 01:30 on the autumn change is the first, daylight-time one")
            << "America/New_York" << wall(11, 3, 1, 30) << utc(11, 3, 5, 30);
        QTest::newRow("New York: 00:59 before the autumn change")
            << "America/New_York" << wall(11, 3, 0, 59) << utc(11, 3, 4, 59);
        QTest::newRow("New York: an ordinary summer morning")
            << "America/New_York" << wall(7, 1, 9, 0) << utc(7, 1, 13, 0);
    }
    void wallClocksAroundDaylightSavingChanges()
    {
        QFETCH(QString, zone);
        QFETCH(QDateTime, wallClock);
        QFETCH(QDateTime, expectedUtc);
        const QTimeZone tz(zone.toUtf8());
        if (!tz.isValid())
            QSKIP("zone data missing");
        const QDateTime inZone = TimeUtil::inZone(wallClock.date(), wallClock.time(), tz);
        QVERIFY(inZone.isValid());
        QCOMPARE(inZone.toUTC(), expectedUtc);
        QCOMPARE(inZone.timeZone(), tz);
        // Local time follows the same rules when the system runs in that zone.
        if (QTimeZone::systemTimeZone() == tz) {
            const QDateTime local = TimeUtil::inZone(wallClock.date(), wallClock.time(), QTimeZone());
            QCOMPARE(local.timeSpec(), Qt::LocalTime);
            QCOMPARE(local.toUTC(), expectedUtc);
        }
    }

    // Wall clocks of local time, as the store and floating iCalendar values
    // hold them, follow the rules of zoned ones: one in the hour a change
    // skips or repeats is read with the offset before the change. A stored
    // one may have been written under another system zone.
    void localWallClocksAroundTheSystemZonesChanges()
    {
        const QTimeZone zone = QTimeZone::systemTimeZone();
        const QTimeZone::OffsetDataList changes =
            zone.transitions(TimeUtil::utc(QDate(2024, 1, 1)), TimeUtil::utc(QDate(2025, 1, 1)));
        if (changes.size() != 2)
            QSKIP("the system zone has no daylight saving");
        for (const QTimeZone::OffsetData &change : changes) {
            const int before = zone.offsetFromUtc(change.atUtc.addSecs(-1));
            const int after = change.offsetFromUtc;
            // Half an hour into the skipped or repeated hour.
            const QDateTime wall = change.atUtc.addSecs(std::min(before, after) + 1800);
            const QDateTime expected = change.atUtc.addSecs(std::min(before, after) - before + 1800);

            const QDateTime stored = TimeUtil::fromStorage(wall.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
            QCOMPARE(stored.timeSpec(), Qt::LocalTime);
            QCOMPARE(stored.toUTC(), expected);

            bool isDate = true;
            const QDateTime floating =
                ICalendar::parseDateTime(wall.toString(QStringLiteral("yyyyMMddTHHmmss")), {}, &isDate);
            QVERIFY(!isDate);
            QCOMPARE(floating.timeSpec(), Qt::LocalTime);
            QCOMPARE(floating.toUTC(), expected);
        }
    }

    void representationKeepsTheZone()
    {
        const QTimeZone berlin("Europe/Berlin");
        if (!berlin.isValid())
            QSKIP("zone data missing");
        const QDateTime inBerlin = TimeUtil::inZone(QDate(2024, 7, 1), QTime(9, 0), berlin);
        QCOMPARE(TimeUtil::representation(inBerlin), berlin);
        QCOMPARE(TimeUtil::representation(TimeUtil::utc(QDate(2024, 7, 1))), QTimeZone::utc());
        const QDateTime moved = TimeUtil::toSameRepresentation(TimeUtil::utc(QDate(2024, 7, 1), QTime(7, 0)), inBerlin);
        QCOMPARE(moved.time(), QTime(9, 0));
        QCOMPARE(moved.timeZone(), berlin);
    }
};

QTEST_GUILESS_MAIN(TestTimeUtil)
#include "tst_timeutil.moc"
