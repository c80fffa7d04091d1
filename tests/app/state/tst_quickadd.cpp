#include "appstatefixture.h"

#include "calendarrepository.h"
#include "eventrepository.h"
#include "quickadd.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Saturday morning before the night Berlin changes its clocks: "tomorrow at
// 12:30" is on the far side of the change.
const QDateTime kNow(QDate(2024, 3, 30), QTime(9, 10));

// The event quick add makes of `text`, as read back from the store.
std::optional<Event> added(AppState *state, const QString &text)
{
    return state->events()->getById(QuickAdd::addFromText(state, text, {}, kNow));
}

} // namespace

class TestQuickAdd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void storedEvent()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const std::optional<Event> stored = added(state, u"Lunch with Sam tomorrow at 12:30 for 90 min"_s);
        QVERIFY(stored);
        QCOMPARE(stored->title, u"Lunch with Sam"_s);
        QCOMPARE(stored->start_time, QDateTime(QDate(2024, 3, 31), QTime(12, 30)));
        QCOMPARE(stored->end_time, std::optional<QDateTime>(QDateTime(QDate(2024, 3, 31), QTime(14, 0))));
        QVERIFY(!stored->is_all_day);
        QCOMPARE(fixture.cli(u"SELECT uid = id, calendar_id, sync_status FROM events"_s),
                 u"1|quillmarten-personal-default|pending"_s);
        QVERIFY(stored->raw_icalendar.contains(u"SUMMARY:Lunch with Sam"_s));
    }

    void aDateAloneIsAnAllDayEventNamedByIt()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const std::optional<Event> stored = added(state, u"tomorrow"_s);
        QVERIFY(stored);
        QCOMPARE(stored->title, u"tomorrow"_s);
        QVERIFY(stored->is_all_day);
        QCOMPARE(stored->start_time.date(), QDate(2024, 3, 31));
    }

    void nothingIsStored_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("withCalendar");
        QTest::newRow("blank text") << u"  \t "_s << true;
        QTest::newRow("no calendar at all") << u"Dentist friday at 3pm"_s << false;
        QTest::newRow("a day that does not exist") << u"Party feb 30"_s << true;
        QTest::newRow("an end that does not exist") << u"Shift from 9 to 25"_s << true;
        QTest::newRow("a time that does not exist") << u"Gym at 24:00"_s << true;
    }
    void nothingIsStored()
    {
        QFETCH(QString, text);
        QFETCH(bool, withCalendar);
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        if (!withCalendar)
            QVERIFY(state->calendars()->remove(u"quillmarten-personal-default"_s));
        QCOMPARE(QuickAdd::addFromText(state, text, {}, kNow), QString());
        QCOMPARE(fixture.cli(u"SELECT count(*) FROM events"_s), u"0"_s);
    }

    void calendarChoice_data()
    {
        // In listing order: id, then d (default), h (hidden) and/or r (read-only).
        QTest::addColumn<QString>("calendars");
        QTest::addColumn<QString>("preferred");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the default wins wherever it stands") << u"a b c:d"_s << QString() << u"c"_s;
        QTest::newRow("no default: the first visible one") << u"a:h b c"_s << QString() << u"b"_s;
        QTest::newRow("an existing preferred calendar wins") << u"a:d b"_s << u"b"_s << u"b"_s;
        QTest::newRow("a preferred calendar that does not exist is ignored") << u"a b:d"_s << u"zz"_s << u"b"_s;
        QTest::newRow("a read-only default is passed over") << u"a:h b:dr c"_s << QString() << u"c"_s;
        QTest::newRow("a read-only preferred calendar is passed over") << u"a:r b"_s << u"a"_s << u"b"_s;
        QTest::newRow("hidden before read-only") << u"a:r b:h"_s << QString() << u"b"_s;
    }
    void calendarChoice()
    {
        QFETCH(QString, calendars);
        QFETCH(QString, preferred);
        QFETCH(QString, expected);
        AppStateFixture fixture;
        // Under a cloud account, so that no device calendar is seeded beside them.
        QStringList statements{u"INSERT INTO accounts (id, name, type) VALUES ('cloud', 'Cloud', 'quillmarten')"_s};
        int order = 0;
        for (const QString &entry : calendars.split(u' ')) {
            const QString id = entry.section(u':', 0, 0);
            const QString flags = entry.section(u':', 1);
            statements.append(
                u"INSERT INTO calendars (id, account_id, url, name, is_default, is_visible, is_read_only, "
                "sort_order) VALUES ('%1', 'cloud', 'quillmarten://%1', '%1', %2, %3, %4, %5)"_s.arg(id)
                    .arg(flags.contains(u'd') ? 1 : 0)
                    .arg(flags.contains(u'h') ? 0 : 1)
                    .arg(flags.contains(u'r') ? 1 : 0)
                    .arg(order++));
        }
        fixture.prepare(statements);
        AppState *state = fixture.start();
        QVERIFY(state);
        QCOMPARE(QuickAdd::resolveCalendarId(state, preferred), expected);
        const QString id = QuickAdd::addFromText(state, u"Call mum"_s, preferred, kNow);
        QCOMPARE(state->events()->getById(id)->calendar_id, expected);
    }
};

QTEST_GUILESS_MAIN(TestQuickAdd)
#include "tst_quickadd.moc"
