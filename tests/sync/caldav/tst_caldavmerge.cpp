#include "awaitresponse.h"
#include "caldavdiscovery.h"
#include "caldavmerge.h"
#include "caldavxml.h"
#include "canonicalcalendarkey.h"
#include "radicaleserver.h"
#include "syncharness.h"
#include "xandikosserver.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Discovered = CalDavParse::DiscoveredCalendar;

namespace {

Discovered discovered(const QString &href, const QString &name, const QString &color = {})
{
    Discovered calendar;
    calendar.href = href;
    calendar.displayName = name;
    calendar.description = name + u" notes"_s;
    calendar.color = color;
    calendar.components = {u"VEVENT"_s, u"VTODO"_s};
    return calendar;
}

} // namespace

// Discovered calendars written into the store: new ones added, placeholders
// from another device turned on, everything else left alone.
class TestCalDavMerge : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_xandikos.start(), qPrintable(m_xandikos.errorString()));
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        CalDavClient client;
        client.setCredentials(u"alice"_s, u"pw"_s);
        for (const QString &name : {u"work"_s, u"family"_s}) {
            QVERIFY(makeCalendar(client, m_radicale.url(u"/alice/%1/"_s.arg(name)), name, u"#00aa00"_s));
        }
    }

    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        QVERIFY(m_fixture->start());
        m_state = m_fixture->state();
        m_account = addAccount(u"caldav"_s);
    }

    void cleanup() { m_fixture.reset(); }

    void fromTheServerRoot_data()
    {
        QTest::addColumn<QUrl>("root");
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("count");
        QTest::newRow("Radicale") << m_radicale.baseUrl() << u"alice"_s << 2;
        QTest::newRow("Xandikos") << m_xandikos.url() << QString() << 1;
    }

    void fromTheServerRoot()
    {
        QFETCH(QUrl, root);
        QFETCH(QString, user);
        QFETCH(int, count);
        CalDavClient client;
        client.setCredentials(user, u"pw"_s);
        CalDavDiscovery discovery(&client);
        QSignalSpy completed(&discovery, &CalDavDiscovery::completed);
        discovery.start(root);
        QVERIFY(completed.wait(10000));
        const auto calendars = completed.first().first().value<QList<Discovered>>();

        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, m_account, calendars), count);
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, m_account, calendars), 0);
        const QList<Calendar> stored = m_state->calendars()->getByAccount(m_account);
        QCOMPARE(stored.size(), count);
        for (const Calendar &calendar : stored) {
            QVERIFY(calendar.sync_enabled);
            QVERIFY(!calendar.is_read_only);
            QVERIFY(!calendar.is_default); // the device calendar was first
            QCOMPARE(calendar.canonical_key, canonicalCalendarKey(u"caldav"_s, calendar.url).value_or(QString()));
            QVERIFY(calendar.supported_components.contains(u"\"VEVENT\""_s));
            QCOMPARE(calendar.color.size(), 7);
        }
    }

    void existingCalendars_data()
    {
        QTest::addColumn<bool>("syncEnabled");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("turnedOn");
        QTest::newRow("placeholder from another device is turned on") << false << true << u"k1"_s << true;
        QTest::newRow("placeholder without a key is left alone") << false << true << QString() << false;
        QTest::newRow("a syncing calendar is left alone") << true << false << u"k1"_s << false;
        QTest::newRow("a calendar turned off here stays off") << false << false << u"k1"_s << false;
    }

    void existingCalendars()
    {
        QFETCH(bool, syncEnabled);
        QFETCH(bool, readOnly);
        QFETCH(QString, key);
        QFETCH(bool, turnedOn);
        Calendar existing;
        existing.id = newId();
        existing.account_id = m_account;
        existing.url = u"https://dav.example.org/cal/work/"_s;
        existing.name = u"Known"_s;
        existing.color = u"#123456"_s;
        existing.sync_enabled = syncEnabled;
        existing.is_read_only = readOnly;
        existing.canonical_key = key;
        existing.created_at = existing.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->calendars()->insert(existing));

        const int added = CalDavParse::mergeDiscoveredCalendars(
            m_state, m_account, {discovered(existing.url, u"Work"_s, u"#ff0000"_s)});
        QCOMPARE(added, 0);
        QCOMPARE(m_state->calendars()->getByAccount(m_account).size(), 1);
        const Calendar after = *m_state->calendars()->getById(existing.id);
        QCOMPARE(after.sync_enabled, turnedOn || syncEnabled);
        QCOMPARE(after.name, turnedOn ? u"Work"_s : u"Known"_s);
        QCOMPARE(after.color, turnedOn ? u"#ff0000"_s : u"#123456"_s);
        QCOMPARE(after.is_read_only, readOnly && !turnedOn);
        if (turnedOn)
            QCOMPARE(after.supported_components, u"[\"VEVENT\",\"VTODO\"]"_s);
    }

    void newCalendars()
    {
        // An empty store: the first calendar ever becomes the default one.
        for (const Calendar &calendar : m_state->calendars()->getAll())
            QVERIFY(m_state->calendars()->remove(calendar.id));
        const QList<Discovered> list{discovered(u"https://h/a/"_s, u"A"_s), discovered(u"https://h/b/"_s, u"B"_s, u"#00ff00"_s),
                                     discovered(u"https://h/a/"_s, u"A again"_s)};
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, m_account, list), 2);
        const QList<Calendar> stored = m_state->calendars()->getByAccount(m_account);
        QCOMPARE(stored.size(), 2);
        for (const Calendar &calendar : stored) {
            const bool first = calendar.url == u"https://h/a/"_s;
            QCOMPARE(calendar.is_default, first);
            QCOMPARE(calendar.color, first ? u"#4285F4"_s : u"#00ff00"_s);
            QCOMPARE(calendar.description, first ? u"A notes"_s : u"B notes"_s);
        }
    }

    void noAccountOrState()
    {
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(nullptr, m_account, {discovered(u"https://h/a/"_s, u"A"_s)}), 0);
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, {}, {discovered(u"https://h/a/"_s, u"A"_s)}), 0);
        // An account type without a key family still gets its calendar, keyless.
        const QString other = addAccount(u"unknown"_s);
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, other, {discovered(u"https://h/a/"_s, u"A"_s)}), 1);
        QCOMPARE(m_state->calendars()->getByAccount(other).first().canonical_key, QString());
    }

private:
    QString addAccount(const QString &type)
    {
        Account account;
        account.id = newId();
        account.name = type;
        account.type = type;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        if (!m_state->accounts()->insert(account))
            qFatal("account not stored");
        return account.id;
    }

    RadicaleServer m_radicale{RadicaleServer::Options{u"alice"_s, u"pw"_s, {}, {}}};
    XandikosServer m_xandikos;
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    QString m_account;
};

QTEST_MAIN(TestCalDavMerge)
#include "tst_caldavmerge.moc"
