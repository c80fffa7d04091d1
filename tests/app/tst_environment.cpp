#include "environment.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestEnvironment : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void init()
    {
        qunsetenv("CALENDAR_DATA_DIR");
        qunsetenv("CALENDAR_INSTANCE");
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"xdg-data"_s).toUtf8());
    }

    void dataDirectoryIsCreatedWithItsParents()
    {
        const QString dir = m_dir.filePath(u"a/b/c ü"_s);
        qputenv("CALENDAR_DATA_DIR", dir.toUtf8());
        QCOMPARE(dataDirectory(), dir);
        QVERIFY(QFileInfo(dir).isDir());
        QCOMPARE(databasePath(), dir + u"/calendar.db"_s);
    }

    void defaultDataDirectoryIsUnderTheUsersDataLocation()
    {
        qputenv("CALENDAR_DATA_DIR", QByteArray()); // set but empty: ignored
        const QString expected = m_dir.filePath(u"xdg-data/Quillmarten/Calendar"_s);
        QCOMPARE(dataDirectory(), expected);
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(databasePath(), expected + u"/calendar.db"_s);
    }

    void instanceNames_data()
    {
        QTest::addColumn<QByteArray>("instance");
        QTest::addColumn<bool>("dev");
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("autostart");
        QTest::newRow("unset") << QByteArray() << false << u"com.quillmarten.calendar"_s << u"QuillmartenCalendar"_s;
        QTest::newRow("dev") << QByteArray("dev") << true << u"com.quillmarten.calendar.dev"_s
                             << u"QuillmartenCalendar-dev"_s;
        QTest::newRow("other instance") << QByteArray("work") << false << u"com.quillmarten.calendar.work"_s
                                        << u"QuillmartenCalendar-work"_s;
        QTest::newRow("DEV is not dev") << QByteArray("DEV") << false << u"com.quillmarten.calendar.DEV"_s
                                        << u"QuillmartenCalendar-DEV"_s;
    }
    void instanceNames()
    {
        QFETCH(QByteArray, instance);
        QFETCH(bool, dev);
        QFETCH(QString, identifier);
        QFETCH(QString, autostart);
        if (!instance.isEmpty())
            qputenv("CALENDAR_INSTANCE", instance);
        QCOMPARE(isDevInstance(), dev);
        QCOMPARE(appIdentifier(), identifier);
        QCOMPARE(autostartValueName(), autostart);
    }
};

QTEST_GUILESS_MAIN(TestEnvironment)
#include "tst_environment.moc"
