#include "preferencesrepository.h"
#include "storefixture.h"

#include <QSignalSpy>
#include <QTest>

class TestPreferences : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsWithDefaults_data()
    {
        QTest::addColumn<QString>("stored"); // null: no row
        QTest::addColumn<bool>("asBool"); // default true
        QTest::addColumn<int>("asInt"); // default 42
        QTest::addColumn<QString>("asString"); // default "all"
        QTest::newRow("no row: the caller's defaults") << QString() << true << 42 << QStringLiteral("all");
        QTest::newRow("1") << QStringLiteral("1") << true << 1 << QStringLiteral("1");
        QTest::newRow("true") << QStringLiteral("true") << true << 42 << QStringLiteral("true");
        QTest::newRow("TRUE is not true") << QStringLiteral("TRUE") << false << 42 << QStringLiteral("TRUE");
        QTest::newRow("yes is not true") << QStringLiteral("yes") << false << 42 << QStringLiteral("yes");
        QTest::newRow("0") << QStringLiteral("0") << false << 0 << QStringLiteral("0");
        QTest::newRow("empty text stays empty") << QStringLiteral("") << false << 42 << QStringLiteral("");
        QTest::newRow("negative number") << QStringLiteral("-7") << false << -7 << QStringLiteral("-7");
        QTest::newRow("digits then letters") << QStringLiteral("12px") << false << 42 << QStringLiteral("12px");
    }
    void readsWithDefaults()
    {
        QFETCH(QString, stored);
        QFETCH(bool, asBool);
        QFETCH(int, asInt);
        QFETCH(QString, asString);
        StoreFixture store;
        PreferencesRepository prefs(store.db());
        const QString key = QStringLiteral("ui/tasksFilter");
        if (!stored.isNull())
            QVERIFY(prefs.set(key, stored));
        QCOMPARE(prefs.get(key).has_value(), !stored.isNull());
        QCOMPARE(prefs.getBool(key, true), asBool);
        QCOMPARE(prefs.getInt(key, 42), asInt);
        QCOMPARE(prefs.getString(key, QStringLiteral("all")), asString);
    }

    void writesUpsertAndSignal()
    {
        StoreFixture store;
        PreferencesRepository prefs(store.db());
        QSignalSpy changed(&prefs, &PreferencesRepository::changed);
        QVERIFY(prefs.set(QStringLiteral("ui/theme"), QStringLiteral("dark")));
        QVERIFY(prefs.set(QStringLiteral("ui/theme"), QStringLiteral("dark")));
        prefs.setBool(QStringLiteral("ui/closeToTray"), false);
        prefs.setInt(QStringLiteral("ui/weekHorizon"), 14);
        QCOMPARE(changed.count(), 4);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("ui/theme"));
        QCOMPARE(store.cli(QStringLiteral("SELECT key, value, type FROM settings ORDER BY key")),
                 QStringLiteral("ui/closeToTray|0|string\nui/theme|dark|string\nui/weekHorizon|14|string"));
    }

    void nullValueFailsWithoutSignal()
    {
        StoreFixture store;
        PreferencesRepository prefs(store.db());
        QSignalSpy changed(&prefs, &PreferencesRepository::changed);
        QVERIFY(!prefs.set(QStringLiteral("ui/theme"), QString()));
        QCOMPARE(changed.count(), 0);
    }

    void removeIsSilent()
    {
        StoreFixture store;
        PreferencesRepository prefs(store.db());
        QVERIFY(prefs.set(QStringLiteral("ui/accentColor"), QStringLiteral("#ff0000")));
        QSignalSpy changed(&prefs, &PreferencesRepository::changed);
        QVERIFY(prefs.remove(QStringLiteral("ui/accentColor")));
        QVERIFY(prefs.remove(QStringLiteral("never/set")));
        QCOMPARE(changed.count(), 0);
        QVERIFY(!prefs.get(QStringLiteral("ui/accentColor")));
    }

    void listenerSeesTheNewValue()
    {
        StoreFixture store;
        PreferencesRepository prefs(store.db());
        int seen = 0;
        connect(&prefs, &PreferencesRepository::changed, this,
                [&](const QString &key) { seen = prefs.getInt(key, 0); });
        prefs.setInt(QStringLiteral("ui/weekStartDay"), 3);
        QCOMPARE(seen, 3);
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
