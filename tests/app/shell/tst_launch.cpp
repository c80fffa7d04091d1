#include "database.h"
#include "singleinstance.h"
#include "sqlitecli.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray icsWithEvent(const QString &uid, const QString &title)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\nSUMMARY:%2\r\n"
           "DTSTART:20300105T090000Z\r\nDTEND:20300105T100000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid, title)
               .toUtf8();
}

// The first X display number from `from` on that no server holds.
int freeDisplay(int from)
{
    while (QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(from)) || QFile::exists(u"/tmp/.X%1-lock"_s.arg(from)))
        ++from;
    return from;
}

} // namespace

// The real program, started twice: the second launch hands its command to
// the first and ends, and the first writes the result to its database.
// (Forwarded quick-add and show-today are driven in tst_application.)
class TestLaunch : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir{QDir::tempPath() + u"/tl-XXXXXX"_s};
    QTemporaryDir m_reachable{QStringLiteral("/tmp/tst_launch-program-XXXXXX")};
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

    // Runs a second launch to its end; what it said on stderr.
    QString launch(const QStringList &arguments, const QProcessEnvironment &env, int code = 0)
    {
        QProcess second;
        second.setProcessEnvironment(env);
        second.setWorkingDirectory(m_dir.path());
        second.start(QStringLiteral(CALENDAR_EXECUTABLE), arguments);
        // Generous: under the sanitizers a start alone takes seconds.
        [&] {
            QVERIFY(second.waitForFinished(30000));
            QCOMPARE(second.exitStatus(), QProcess::NormalExit);
            QCOMPARE(second.exitCode(), code);
            }();
        if (second.state() != QProcess::NotRunning) {
            second.kill();
            second.waitForFinished();
        }
        return QString::fromLocal8Bit(second.readAllStandardError());
    }
    void launch(const QStringList &arguments) { launch(arguments, environment()); }

    // Starts the program in the background on `data`; true once it holds the
    // folder's lock and has made its database.
    static bool startOn(QProcess &program, const QProcessEnvironment &env, const QString &data)
    {
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(CALENDAR_EXECUTABLE), {u"--background"_s});
        if (!program.waitForStarted())
            return false;
        return QTest::qWaitFor(
                   [&] {
            QFile lock(data + u"/calendar.lock"_s);
            return (lock.open(QIODevice::ReadOnly) && lock.readLine().trimmed().toLongLong() == program.processId()
                    && QFile::exists(data + u"/calendar.db"_s))
                || program.state() != QProcess::Running;
                   },
                   30000)
            && program.state() == QProcess::Running;
    }

    static void stop(QProcess &program)
    {
        program.terminate();
        if (!program.waitForFinished(5000))
            program.kill();
        program.waitForFinished();
    }

    // The program where another user can run it: a test's own build may lie
    // in a folder only its owner can enter.
    QString reachableProgram()
    {
        const QString copy = m_reachable.filePath(u"calendar"_s);
        if (!QFile::exists(copy)) {
            // A second name for the same file where one will do: no space taken.
            if (::link(CALENDAR_EXECUTABLE, QFile::encodeName(copy).constData()) != 0
                && !QFile::copy(QStringLiteral(CALENDAR_EXECUTABLE), copy))
                return QString();
            QFile::setPermissions(m_reachable.path(), QFile::Permissions(0x7755));
            QFile::setPermissions(copy, QFile::Permissions(0x7755));
        }
        return copy;
    }

    QString titles() const
    {
        return sqliteCli(database(), u"SELECT title FROM events WHERE deleted_at IS NULL ORDER BY title"_s);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Short names: a socket's path has room for little more than 100 bytes.
        qputenv("CALENDAR_INSTANCE", "tl-" + QByteArray::number(QCoreApplication::applicationPid()));
        // Where the channel lives without XDG_RUNTIME_DIR, for the programs
        // and for this test's own look at it.
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath(u"c"_s)));
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

    void cleanupTestCase() { stop(m_first); }

    void secondLaunchImportsIcsFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("arguments"); // %1 is the folder of the file
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("display");

        QTest::newRow("--ics with a path relative to the launch")
            << u"relative.ics"_s << QStringList{u"--ics"_s, u"relative.ics"_s} << u"Relative import"_s << true;
        QTest::newRow("bare path of an .ics file")
            << u"bare.ics"_s << QStringList{u"%1/bare.ics"_s} << u"Bare import"_s << true;
        QTest::newRow("from a shell without a display")
            << u"shell.ics"_s << QStringList{u"--ics"_s, u"shell.ics"_s} << u"Shell import"_s << false;
    }
    void secondLaunchImportsIcsFiles()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, arguments);
        QFETCH(QString, title);
        QFETCH(bool, display);
        QFile ics(m_dir.filePath(file));
        QVERIFY(ics.open(QIODevice::WriteOnly));
        ics.write(icsWithEvent(file, title));
        ics.close();
        for (QString &a : arguments)
            a.replace(u"%1"_s, m_dir.path());

        QProcessEnvironment env = environment();
        if (!display) {
            // A platform that needs a display, and none to be had.
            env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
            env.remove(u"DISPLAY"_s);
            env.remove(u"WAYLAND_DISPLAY"_s);
        }
        launch(arguments, env);
        QTRY_VERIFY_WITH_TIMEOUT(titles().split(u'\n').contains(title), 10000);
        QCOMPARE(m_first.state(), QProcess::Running);
    }

    void readOnlyDataFolderIsSaidOnce()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to start the program as a user without write access");
        // A folder the program's user may read but not write, holding a
        // database closed cleanly by its owner; beside the program, where
        // that user can reach it (the temporary folder may be private).
        const QString executable = reachableProgram();
        QVERIFY(!executable.isEmpty());
        QTemporaryDir root(m_reachable.filePath(u"readonly-XXXXXX"_s));
        QVERIFY(root.isValid());
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
        env.insert(u"XDG_CACHE_HOME"_s, home);
        env.insert(u"TMPDIR"_s, home);
        env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-readonly"_s);
        env.remove(u"XDG_RUNTIME_DIR"_s);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(100);
        });
        program.setWorkingDirectory(home);
        program.start(executable, {u"--background"_s});
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

    void dataFolderIsOwnerOnlyWhateverTheUmask_data()
    {
        QTest::addColumn<int>("mask");
        QTest::newRow("umask 000") << 0;
        QTest::newRow("umask 022") << 022;
    }
    void dataFolderIsOwnerOnlyWhateverTheUmask()
    {
        QFETCH(int, mask);
        QTemporaryDir root;
        const QString data = root.filePath(u"data"_s);
        QProcessEnvironment env = environment();
        env.insert(u"CALENDAR_DATA_DIR"_s, data);
        env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-umask"_s);
        QProcess program;
        program.setChildProcessModifier([mask] { ::umask(mode_t(mask)); });
        QVERIFY(startOn(program, env, data));
        // A write, so that every file SQLite keeps beside the database is there.
        launch({u"--quick-add"_s, u"Standup tomorrow 9am"_s}, env);
        QTRY_VERIFY_WITH_TIMEOUT(
            sqliteCli(data + u"/calendar.db"_s, u"SELECT title FROM events"_s).contains(u"Standup"_s), 10000);
        QStringList open;
        struct stat folder
        { };
        QCOMPARE(::stat(QFile::encodeName(data).constData(), &folder), 0);
        if ((folder.st_mode & 07777) != 0700)
            open << u"data folder %1"_s.arg(folder.st_mode & 07777, 0, 8);
        const QStringList files = QDir(data).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : files) {
            struct stat file
            { };
            if (::stat(QFile::encodeName(data + u'/' + name).constData(), &file) == 0 && (file.st_mode & 077) != 0)
                open << u"%1 %2"_s.arg(name).arg(file.st_mode & 07777, 0, 8);
        }
        stop(program);
        QVERIFY(files.contains(u"calendar.lock"_s) && files.contains(u"calendar.db-wal"_s));
        QCOMPARE(open, QStringList());
    }

    void channelFolderMadeByAnotherUser_data()
    {
        QTest::addColumn<QString>("squat");
        QTest::addColumn<int>("code");
        QTest::newRow("folder made by another user in the shared temporary folder") << u"folder"_s << 0;
        QTest::newRow("link made by another user to a folder of ours") << u"link"_s << 0;
        QTest::newRow("our own fallback folder opened to others") << u"opened"_s << 2;
    }
    // Without XDG_RUNTIME_DIR the channel lives in the user's own cache
    // folder, so what another user makes in the shared temporary folder
    // blocks no hand-over. Where the channel's folder is not private after
    // all, the running program never listened: a second launch says so and
    // ends with an error instead of losing the command or starting a second
    // program on the same data.
    void channelFolderMadeByAnotherUser()
    {
        QFETCH(QString, squat);
        QFETCH(int, code);
        if (squat != u"opened"_s && ::geteuid() != 0)
            QSKIP("needs root to act as a second user");
        QTemporaryDir temp;
        QVERIFY(QFile::setPermissions(temp.path(), QFile::Permissions(0x7777)));
        // Where the temporary folder was the fallback, under its old name.
        const QString channel = temp.filePath(u"quillmarten-calendar-%1"_s.arg(::geteuid()));
        const QString ours = m_dir.filePath(u"ours-"_s + squat);
        const QByteArray path = QFile::encodeName(channel);
        if (squat == u"link"_s) {
            QVERIFY(QDir().mkdir(ours, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QCOMPARE(::symlink(QFile::encodeName(ours).constData(), path.constData()), 0);
        } else {
            QVERIFY(QDir().mkdir(channel, QFile::Permissions(0x7777)));
        }
        if (squat != u"opened"_s)
            QCOMPARE(::lchown(path.constData(), 65534, 65534), 0);
        QTemporaryDir root;
        const QString data = root.filePath(u"data"_s);
        QProcessEnvironment env = environment();
        env.insert(u"CALENDAR_DATA_DIR"_s, data);
        env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-channel"_s);
        env.insert(u"TMPDIR"_s, temp.path());
        env.remove(u"XDG_RUNTIME_DIR"_s);
        if (squat == u"opened"_s) {
            const QString cache = root.filePath(u"cache"_s);
            QVERIFY(QDir().mkpath(cache + u"/quillmarten-calendar"_s));
            QVERIFY(QFile::setPermissions(cache + u"/quillmarten-calendar"_s, QFile::Permissions(0x7755)));
            env.insert(u"XDG_CACHE_HOME"_s, cache);
        }
        QProcess first;
        QVERIFY(startOn(first, env, data));

        const QString told = launch({u"--quick-add"_s, u"Secret meeting tomorrow 9am"_s}, env, code);
        QCOMPARE(first.state(), QProcess::Running);
        if (code == 0) {
            QTRY_VERIFY_WITH_TIMEOUT(
                sqliteCli(data + u"/calendar.db"_s, u"SELECT title FROM events"_s).contains(u"Secret meeting"_s),
                10000);
            QCOMPARE(QDir(squat == u"link"_s ? ours : channel)
                         .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                     QStringList());
        } else {
            QVERIFY2(told.contains(u"is not a private folder of this user"_s), qPrintable(told));
        }
        stop(first);
    }

    void missingDisplayIsSaidNotAborted_data()
    {
        QTest::addColumn<bool>("named");
        QTest::addColumn<QString>("option"); // names the display instead of DISPLAY
        QTest::newRow("display named, nothing answers") << true << QString();
        QTest::newRow("no display named") << false << QString();
        QTest::newRow("named by --display, nothing answers") << true << u"--display"_s;
    }
    // Qt itself would abort; the program says why and ends with an error.
    void missingDisplayIsSaidNotAborted()
    {
        QFETCH(bool, named);
        QFETCH(QString, option);
        const int number = freeDisplay(900);
        QTemporaryDir root;
        QProcessEnvironment env = environment();
        env.insert(u"CALENDAR_DATA_DIR"_s, root.filePath(u"data"_s));
        env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-nodisplay"_s);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"DISPLAY"_s);
        QStringList arguments{u"--background"_s};
        if (named && option.isEmpty())
            env.insert(u"DISPLAY"_s, u":%1"_s.arg(number));
        else if (named)
            arguments << option << u":%1"_s.arg(number);
        const QString told = launch(arguments, env, 1);
        QVERIFY2(told.contains(u"cannot open its window"_s), qPrintable(told));
        if (named)
            QVERIFY2(told.contains(u"display :%1 does not answer"_s.arg(number)), qPrintable(told));
        QVERIFY(!told.contains(u"Opening database"_s));
    }

    // Two launches at the same moment on the same data: one program stays,
    // the other hands it its command and ends, whichever wins.
    void simultaneousLaunchesLeaveOneProgram()
    {
        QStringList failures;
        for (int round = 0; round < 50 && failures.isEmpty(); ++round) {
            QTemporaryDir root;
            const QString db = root.filePath(u"data/calendar.db"_s);
            QProcessEnvironment env = environment();
            env.insert(u"CALENDAR_DATA_DIR"_s, root.filePath(u"data"_s));
            env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-r%1"_s.arg(round));
            QProcess launches[2];
            const QStringList phrases{u"Alpha tomorrow 9am"_s, u"Beta tomorrow 10am"_s};
            for (int i = 0; i < 2; ++i)
                launches[i].setProcessEnvironment(env);
            for (int i = 0; i < 2; ++i)
                launches[i].start(QStringLiteral(CALENDAR_EXECUTABLE),
                                  {u"--background"_s, u"--quick-add"_s, phrases[i]});
            // Until then a launch reads as not running, though it has not ended.
            for (QProcess &launch : launches)
                launch.waitForStarted();
            const auto running = [&] {
                return int(launches[0].state() == QProcess::Running) + int(launches[1].state() == QProcess::Running);
            };
            const auto titles = [&] { return sqliteCli(db, u"SELECT group_concat(title) FROM events"_s); };
            const bool oneEnded = QTest::qWaitFor([&] { return running() < 2; }, 30000);
            const QProcess &loser = launches[0].state() == QProcess::Running ? launches[1] : launches[0];
            const bool both =
                QTest::qWaitFor([&] { return titles().contains(u"Alpha"_s) && titles().contains(u"Beta"_s); }, 15000);
            if (!oneEnded || running() != 1 || loser.exitCode() != 0 || !both)
                failures << u"round %1: %2 running, exit code %3, events %4"_s.arg(round)
                                .arg(running())
                                .arg(loser.exitCode())
                                .arg(titles());
            for (QProcess &launch : launches)
                stop(launch);
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
    }

    // An X server resets whenever its last client leaves, and refuses
    // connections meanwhile; a poller's clients coming and going make it do
    // so over and over. A start on such a display waits rather than aborts.
    void displayThatKeepsResettingIsWaitedFor()
    {
        const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
        const QString xdotool = QStandardPaths::findExecutable(u"xdotool"_s);
        if (xvfb.isEmpty() || xdotool.isEmpty())
            QSKIP("needs Xvfb and xdotool");
        const int number = freeDisplay(950);
        const QString display = u":%1"_s.arg(number);
        QStringList failures;
        for (int round = 0; round < 20; ++round) {
            QProcess server;
            server.start(xvfb, {display, u"-screen"_s, u"0"_s, u"640x480x24"_s});
            QVERIFY(QTest::qWaitFor([&] { return QFile::exists(u"/tmp/.X11-unix/X%1"_s.arg(number)); }, 10000));
            QProcess poller;
            QProcessEnvironment pollEnv = QProcessEnvironment::systemEnvironment();
            pollEnv.insert(u"DISPLAY"_s, display);
            poller.setProcessEnvironment(pollEnv);
            poller.start(u"/bin/sh"_s, {u"-c"_s, u"while :; do \"$0\" getmouselocation >/dev/null 2>&1; done"_s, xdotool});
            QTemporaryDir root;
            QProcessEnvironment env = environment();
            env.insert(u"CALENDAR_DATA_DIR"_s, root.filePath(u"data"_s));
            env.insert(u"CALENDAR_INSTANCE"_s, env.value(u"CALENDAR_INSTANCE"_s) + u"-x%1"_s.arg(round));
            env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
            env.insert(u"DISPLAY"_s, display);
            env.remove(u"WAYLAND_DISPLAY"_s);
            QProcess program;
            program.setProcessChannelMode(QProcess::MergedChannels);
            if (!startOn(program, env, root.filePath(u"data"_s)))
                failures << u"round %1: %2"_s.arg(round).arg(QString::fromLocal8Bit(program.readAll()).trimmed());
            stop(program);
            stop(poller);
            stop(server);
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
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
        stop(third);
    }
};

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
