#include "environment.h"

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
        qunsetenv("CALENDAR_INSTANCE");
        qputenv("XDG_DATA_HOME", m_dir.filePath(u"xdg-data"_s).toUtf8());
    }

    void dataDirectoryIsCreatedWithItsParents_data()
    {
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("expected");
        QTest::newRow("given, below folders that do not exist yet") << u"a/b/c ü"_s << u"a/b/c ü"_s;
        QTest::newRow("set but empty: the user's data location") << QString() << u"xdg-data/Quillmarten/Calendar"_s;
    }
    void dataDirectoryIsCreatedWithItsParents()
    {
        QFETCH(QString, variable);
        QFETCH(QString, expected);
        qputenv("CALENDAR_DATA_DIR", variable.isEmpty() ? QByteArray() : m_dir.filePath(variable).toUtf8());
        const QString dir = m_dir.filePath(expected);
        QCOMPARE(dataDirectory(), dir);
        QVERIFY(QFileInfo(dir).isDir());
        QCOMPARE(QFileInfo(dir).permissions() & QFile::Permissions(0x0077), QFile::Permissions()); // owner only
        QCOMPARE(databasePath(), dir + u"/calendar.db"_s);
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
