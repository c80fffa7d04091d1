#include "database.h"
#include "singleinstance.h"
#include "sqlitecli.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray icsWithEvent(const QString &uid, const QString &title)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\nSUMMARY:%2\r\n"
           "DTSTART:20300105T090000Z\r\nDTEND:20300105T100000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid, title)
               .toUtf8();
}

} // namespace

// The real program, started twice: the second launch hands its command to
// the first and ends, and the first writes the result to its database.
// (Forwarded quick-add and show-today are driven in tst_application.)
class TestLaunch : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QProcess m_first;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"CALENDAR_DATA_DIR"_s, m_dir.filePath(u"data"_s));
        env.insert(u"CALENDAR_INSTANCE"_s, QString::fromUtf8(qgetenv("CALENDAR_INSTANCE")));
        env.insert(u"XDG_CONFIG_HOME"_s, m_dir.filePath(u"config"_s));
        env.insert(u"XDG_DATA_HOME"_s, m_dir.filePath(u"xdg"_s));
        env.insert(u"CALENDAR_UPDATE_BASE_URL"_s, u"http://127.0.0.1:9/"_s);
        env.insert(u"SYNC_API_URL"_s, u"http://127.0.0.1:9/calendar/v1"_s);
        return env;
    }

    QString database() const { return m_dir.filePath(u"data/calendar.db"_s); }

    // Runs a second launch to its end.
    void launch(const QStringList &arguments)
    {
        QProcess second;
        second.setProcessEnvironment(environment());
        second.setWorkingDirectory(m_dir.path());
        second.start(QStringLiteral(CALENDAR_EXECUTABLE), arguments);
        // Generous: under the sanitizers a start alone takes seconds.
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
    }

    QString titles() const
    {
        return sqliteCli(database(), u"SELECT title FROM events WHERE deleted_at IS NULL ORDER BY title"_s);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("CALENDAR_INSTANCE", "tst-launch-" + QByteArray::number(QCoreApplication::applicationPid()));
        m_first.setProcessEnvironment(environment());
        m_first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_first.start(QStringLiteral(CALENDAR_EXECUTABLE), {u"--background"_s});
        QVERIFY(m_first.waitForStarted());
        // Ready once its single-instance channel answers.
        QVERIFY(QTest::qWaitFor(
            [] {
            QLocalSocket probe;
            probe.connectToServer(SingleInstance::serverName());
            return probe.waitForConnected(100);
            },
            10000));
        QCOMPARE(m_first.state(), QProcess::Running);
    }

    void cleanupTestCase()
    {
        m_first.terminate();
        if (!m_first.waitForFinished(5000))
            m_first.kill();
    }

    void secondLaunchImportsIcsFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("arguments"); // %1 is the folder of the file
        QTest::addColumn<QString>("title");

        QTest::newRow("--ics with a path relative to the launch")
            << u"relative.ics"_s << QStringList{u"--ics"_s, u"relative.ics"_s} << u"Relative import"_s;
        QTest::newRow("bare path of an .ics file")
            << u"bare.ics"_s << QStringList{u"%1/bare.ics"_s} << u"Bare import"_s;
    }
    void secondLaunchImportsIcsFiles()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, arguments);
        QFETCH(QString, title);
        QFile ics(m_dir.filePath(file));
        QVERIFY(ics.open(QIODevice::WriteOnly));
        ics.write(icsWithEvent(file, title));
        ics.close();
        for (QString &a : arguments)
            a.replace(u"%1"_s, m_dir.path());

        launch(arguments);
        QTRY_VERIFY_WITH_TIMEOUT(titles().split(u'\n').contains(title), 10000);
        QCOMPARE(m_first.state(), QProcess::Running);
    }

    void readOnlyDataFolderIsSaidOnce()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to start the program as a user without write access");
        // A folder the program's user may read but not write, holding a
        // database closed cleanly by its owner.
        QTemporaryDir root;
        const QString data = root.filePath(u"data"_s);
        const QString home = root.filePath(u"home"_s);
        QVERIFY(QDir().mkpath(data) && QDir().mkpath(home));
        {
            Database database;
            QVERIFY(database.open(data + u"/calendar.db"_s));
            QVERIFY(database.migrate());
        }
        QVERIFY(!QFile::exists(data + u"/calendar.db-wal"_s));
        QVERIFY(QFile::setPermissions(data + u"/calendar.db"_s,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(root.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(home, QFile::Permissions(0x7777)));
        QFile file(data + u"/calendar.db"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        QProcessEnvironment env = environment();
        env.insert(u"CALENDAR_DATA_DIR"_s, data);
        env.insert(u"HOME"_s, home);
        env.insert(u"XDG_CONFIG_HOME"_s, home);
        env.insert(u"XDG_DATA_HOME"_s, home);
        env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-readonly"_s);
        env.remove(u"XDG_RUNTIME_DIR"_s);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(100);
        });
        program.start(QStringLiteral(CALENDAR_EXECUTABLE), {u"--background"_s});
        QVERIFY(program.waitForStarted());
        const QString said = u"the calendar database or its folder is read-only"_s;
        QString log;
        QVERIFY(QTest::qWaitFor(
            [&] {
            log += QString::fromLocal8Bit(program.readAllStandardError());
            return log.contains(said) || program.state() != QProcess::Running;
            },
            10000));
        QTest::qWait(1000);
        log += QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.state(), QProcess::Running); // it runs, read-only
        QCOMPARE(log.count(said), 1);
        program.kill();
        program.waitForFinished();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // Last: it ends the first program.
    void oneProgramPerDataFolder()
    {
        // Another instance name has a single-instance channel of its own, but
        // the data folder is the first program's.
        QProcessEnvironment env = environment();
        env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-other"_s);
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(QStringLiteral(CALENDAR_EXECUTABLE), {u"--background"_s});
        QVERIFY(second.waitForStarted());
        // It says why and stops at its message box, before the database.
        QString told;
        QVERIFY(QTest::qWaitFor(
            [&] {
            told += QString::fromLocal8Bit(second.readAllStandardError());
            return told.contains(u"data folder in use by process %1"_s.arg(m_first.processId()));
            },
            10000));
        QVERIFY(!told.contains(u"Opening database"_s));
        second.kill();
        second.waitForFinished();

        // A lock left by a program that died is taken over.
        m_first.kill();
        QVERIFY(m_first.waitForFinished(5000));
        QVERIFY(QFile::exists(m_dir.filePath(u"data/calendar.lock"_s)));
        QProcess third;
        third.setProcessEnvironment(env);
        third.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        third.start(QStringLiteral(CALENDAR_EXECUTABLE), {u"--background"_s});
        QVERIFY(third.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(sqliteCli(database(), u"SELECT COUNT(*) FROM events"_s) != QString(), 10000);
        const auto lockOwner = [this] {
            QFile lock(m_dir.filePath(u"data/calendar.lock"_s));
            return lock.open(QIODevice::ReadOnly) ? lock.readLine().trimmed() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(lockOwner(), QByteArray::number(third.processId()), 10000);
        QCOMPARE(third.state(), QProcess::Running);
        third.terminate();
        if (!third.waitForFinished(5000))
            third.kill();
    }
};

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
