#include "icalendar.h"
#include "timeutil.h"

#include <QTest>

namespace {

// Stored text read the general way, through Qt's ISO 8601 parser: what
// fromStorage must agree with. SQLite's "yyyy-MM-dd HH:mm:ss" is UTC; a text
// without a suffix is a local wall clock, read as inZone reads one.
QDateTime readByQt(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDateTime();
    if (t.size() == 19 && t.at(10) == QLatin1Char(' ')) {
        QString iso = t;
        iso[10] = QLatin1Char('T');
        return QDateTime::fromString(iso + QLatin1Char('Z'), Qt::ISODate);
    }
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
    if (dt.isValid() && dt.timeSpec() != Qt::LocalTime)
        return dt;
    const QDateTime wall = QDateTime::fromString(t + QLatin1Char('Z'), Qt::ISODate);
    if (wall.isValid())
        return TimeUtil::inZone(wall.date(), wall.time(), QTimeZone());
    const QDate d = QDate::fromString(t, Qt::ISODate);
    return d.isValid() ? TimeUtil::inZone(d, QTime(0, 0), QTimeZone()) : QDateTime();
}

// Same validity, instant, wall clock and representation; empty when so.
QString differenceFromQt(const QString &text, const QDateTime &read)
{
    const QDateTime expected = readByQt(text);
    const auto describe = [](const QDateTime &dt) {
        return dt.isValid() ? dt.toString(Qt::ISODateWithMs) + QStringLiteral(" spec %1").arg(int(dt.timeSpec()))
                            : QStringLiteral("invalid");
    };
    const bool same = expected.isValid() == read.isValid()
        && (!expected.isValid()
            || (expected.timeSpec() == read.timeSpec() && expected.offsetFromUtc() == read.offsetFromUtc()
                && expected.date() == read.date() && expected.time() == read.time()
                && expected.toMSecsSinceEpoch() == read.toMSecsSinceEpoch()));
    if (same)
        return QString();
    return QStringLiteral("\"%1\": Qt reads %2, fromStorage %3").arg(text, describe(expected), describe(read));
}

// The text handed over as UTF-16, as UTF-8 bytes and as Latin-1.
QString differenceInAnyEncoding(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    QString difference = differenceFromQt(text, TimeUtil::fromStorage(text));
    if (difference.isEmpty())
        difference = differenceFromQt(text, TimeUtil::fromStorage(QUtf8StringView(utf8)));
    const QByteArray latin1 = text.toLatin1();
    if (difference.isEmpty() && QString::fromLatin1(latin1) == text)
        difference = differenceFromQt(text, TimeUtil::fromStorage(QLatin1String(latin1)));
    return difference;
}

} // namespace

class TestTimeUtil : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // fromStorage reads the forms it writes without Qt's general parser; it
    // must read every text exactly as that parser does. The common forms are
    // combined below; these are the odd ones.
    void storageReadingAgreesWithQt_data()
    {
        QTest::addColumn<QString>("text");
        // Representations
        QTest::newRow("UTC, lower-case z") << QStringLiteral("2024-05-01T10:00:00z");
        QTest::newRow("west of UTC, half hour") << QStringLiteral("2024-05-01T10:00:00-03:30");
        QTest::newRow("-00:00 is UTC") << QStringLiteral("2024-05-01T10:00:00-00:00");
        QTest::newRow("milliseconds, offset") << QStringLiteral("2024-05-01T10:00:00.999+05:45");
        QTest::newRow("bare date is local midnight") << QStringLiteral("2024-05-01");
        // Bounds
        QTest::newRow("first year") << QStringLiteral("0001-01-01T00:00:00Z");
        QTest::newRow("last year") << QStringLiteral("9999-12-31T23:59:59Z");
        QTest::newRow("largest offset Qt reads") << QStringLiteral("2024-05-01T10:00:00+23:59");
        // Malformed
        QTest::newRow("empty") << QString();
        QTest::newRow("blank") << QStringLiteral("   ");
        QTest::newRow("words") << QStringLiteral("yesterday");
        QTest::newRow("month 13") << QStringLiteral("2024-13-01T12:00:00Z");
        QTest::newRow("offset hour 24") << QStringLiteral("2024-05-01T10:00:00+24:00");
        QTest::newRow("offset without colon") << QStringLiteral("2024-05-01T10:00:00+0200");
        QTest::newRow("offset hours only") << QStringLiteral("2024-05-01T10:00:00+02");
        QTest::newRow("two fraction digits") << QStringLiteral("2024-05-01T10:00:00.25Z");
        QTest::newRow("four fraction digits") << QStringLiteral("2024-05-01T10:00:00.2500Z");
        QTest::newRow("comma fraction") << QStringLiteral("2024-05-01T10:00:00,250Z");
        QTest::newRow("no seconds") << QStringLiteral("2024-05-01T10:00Z");
        QTest::newRow("one-digit hour") << QStringLiteral("2024-05-01T9:00:00Z");
        QTest::newRow("slashes in the date") << QStringLiteral("2024/05/01T10:00:00Z");
        QTest::newRow("lower-case t") << QStringLiteral("2024-05-01t10:00:00Z");
        QTest::newRow("leading blank") << QStringLiteral(" 2024-05-01T10:00:00Z");
        QTest::newRow("trailing blank") << QStringLiteral("2024-05-01T10:00:00Z ");
        QTest::newRow("SQLite's form with a suffix") << QStringLiteral("2024-05-01 10:00:00Z");
        QTest::newRow("SQLite's form with milliseconds") << QStringLiteral("2024-05-01 10:00:00.500");
        QTest::newRow("full-width digits") << QStringLiteral("\uFF12\uFF10\uFF12\uFF14-05-01T10:00:00Z");
        QTest::newRow("trailing garbage") << QStringLiteral("2024-05-01T10:00:00Zx");
    }
    void storageReadingAgreesWithQt()
    {
        QFETCH(QString, text);
        const QString difference = differenceInAnyEncoding(text);
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }

    // Every combination of dates (the test zones' DST changes, leap days,
    // impossible days), times, fractions, offsets and both separators, and
    // every millisecond.
    void storageReadingAgreesWithQtOnEveryCombination()
    {
        const QStringList dates = {QStringLiteral("2024-01-08"), QStringLiteral("2024-02-29"),
                                   QStringLiteral("2023-02-29"), QStringLiteral("2024-03-31"),
                                   QStringLiteral("2024-03-10"), QStringLiteral("2024-10-27"),
                                   QStringLiteral("2024-11-03"), QStringLiteral("1969-12-31"),
                                   QStringLiteral("0000-06-15"), QStringLiteral("2024-04-31")};
        const QStringList times = {QStringLiteral("00:00:00"), QStringLiteral("01:30:00"), QStringLiteral("02:30:00"),
                                   QStringLiteral("23:59:59"), QStringLiteral("24:00:00"), QStringLiteral("12:60:00"),
                                   QStringLiteral("12:00:60"), QStringLiteral("1a:00:00")};
        const QStringList fractions = {QString(), QStringLiteral(".000"), QStringLiteral(".5"), QStringLiteral(".999"),
                                       QStringLiteral(".12a")};
        const QStringList suffixes = {QString(),
                                      QStringLiteral("Z"),
                                      QStringLiteral("+01:00"),
                                      QStringLiteral("-09:30"),
                                      QStringLiteral("+00:00"),
                                      QStringLiteral("+14:00"),
                                      QStringLiteral("+1:00"),
                                      QStringLiteral("+01:60"),
                                      QStringLiteral("Z+01:00")};
        const QStringList separators = {QStringLiteral("T"), QStringLiteral(" ")};
        int compared = 0;
        for (const QString &date : dates) {
            for (const QString &separator : separators) {
                for (const QString &time : times) {
                    for (const QString &fraction : fractions) {
                        for (const QString &suffix : suffixes) {
                            const QString text = date + separator + time + fraction + suffix;
                            const QString difference = differenceInAnyEncoding(text);
                            QVERIFY2(difference.isEmpty(), qPrintable(difference));
                            ++compared;
                        }
                    }
                }
            }
        }
        for (int ms = 0; ms < 1000; ++ms) {
            for (const QString &suffix : {QStringLiteral("Z"), QStringLiteral("+02:00"), QString()}) {
                const QString text = QStringLiteral("2024-05-01T10:00:00.%1").arg(ms, 3, 10, QLatin1Char('0')) + suffix;
                const QString difference = differenceInAnyEncoding(text);
                QVERIFY2(difference.isEmpty(), qPrintable(difference));
                ++compared;
            }
        }
        QCOMPARE(compared, 10 * 2 * 8 * 5 * 9 + 3000);
    }

    void storedDateIsTheWrittenDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("UTC midnight of an all-day row") << QStringLiteral("2024-05-01T00:00:00Z") << QDate(2024, 5, 1);
        QTest::newRow("offset that puts the instant on another day")
            << QStringLiteral("2024-05-01T23:00:00-05:00") << QDate(2024, 5, 1);
        QTest::newRow("bare date") << QStringLiteral("2024-05-01") << QDate(2024, 5, 1);
        QTest::newRow("no such day") << QStringLiteral("2024-02-30T00:00:00Z") << QDate();
        QTest::newRow("empty") << QString() << QDate();
    }
    void storedDateIsTheWrittenDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(TimeUtil::storedDate(text), date);
        QCOMPARE(TimeUtil::storedDate(QUtf8StringView(text.toUtf8())), date);
        QCOMPARE(TimeUtil::storedDate(text), QDate::fromString(text.left(10), Qt::ISODate));
    }

    // Local and all-day values keep their wall clock and date in storage; a
    // value converted to UTC would land on another date east of Greenwich.
    void storageKeepsTheRepresentation_data()
    {
        QTest::addColumn<QDateTime>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTC writes Z") << TimeUtil::utc(QDate(2024, 5, 1), QTime(10, 0))
                                      << QStringLiteral("2024-05-01T10:00:00Z");
        QTest::newRow("local midnight writes no suffix")
            << QDateTime(QDate(2024, 5, 1), QTime(0, 0), Qt::LocalTime) << QStringLiteral("2024-05-01T00:00:00");
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

    // Wall clocks of local time, as the store and floating iCalendar values
    // hold them, follow the rules of zoned ones: one in the hour a change
    // skips or repeats is read with the offset before the change. A stored
    // one may have been written under another system zone.
    void localWallClocksAroundTheSystemZonesChanges()
    {
        const QTimeZone zone = QTimeZone::systemTimeZone();
        const QTimeZone::OffsetDataList changes = zone.transitions(TimeUtil::utc(QDate(2024, 1, 1)),
                                                                   TimeUtil::utc(QDate(2025, 1, 1)));
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
            const QDateTime floating = ICalendar::parseDateTime(wall.toString(QStringLiteral("yyyyMMddTHHmmss")), {},
                                                                &isDate);
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
