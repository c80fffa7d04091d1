#include "singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Every signal of one SingleInstance as "name" or "name:argument", in order.
class Recorder : public QObject
{
public:
    explicit Recorder(SingleInstance *instance)
    {
        connect(instance, &SingleInstance::focusRequested, this, [this] { seen << u"focus"_s; });
        connect(instance, &SingleInstance::showTodayRequested, this, [this] { seen << u"show-today"_s; });
        connect(instance, &SingleInstance::newEventRequested, this, [this] { seen << u"new-event"_s; });
        connect(instance, &SingleInstance::quickAddRequested, this,
                [this](const QString &text) { seen << u"quick-add:"_s + text; });
        connect(instance, &SingleInstance::openIcsRequested, this,
                [this](const QString &path) { seen << u"open-ics:"_s + path; });
    }

    bool waitFor(qsizetype count)
    {
        return QTest::qWaitFor([&] { return seen.size() >= count; }, 5000);
    }

    QStringList seen;
};

// Raw strings keep the JSON readable.
QString line(const char *json)
{
    return QString::fromUtf8(json);
}

QString socketPath()
{
    return SingleInstance::serverName();
}

// The account other local users stand for; the tests that need one run as
// root and become it in a child process.
constexpr uid_t kNobody = 65534;

// Runs `work` in a child process that has become `nobody`; the child's exit
// code, or -1. The parent keeps its event loop turning meanwhile.
int asNobody(const std::function<int()> &work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(100);
        ::_exit(work());
    }
    int status = 0;
    if (child < 0 || !QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 15000))
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A socket bound at `path` by the calling process, not yet listening.
int bindAt(const QByteArray &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || size_t(path.size()) >= sizeof(address.sun_path))
        return -1;
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
        return -1;
    return fd;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    // The user's cache folder, where the channel lives without XDG_RUNTIME_DIR.
    QTemporaryDir m_cache{QDir::tempPath() + u"/si-XXXXXX"_s};
    QString m_previousDir;
    int m_instanceCounter = 0;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid() && m_cache.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
        QFile existing(m_dir.filePath(u"invite.ics"_s));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        QFile upper(m_dir.filePath(u"MEETING.ICS"_s));
        QVERIFY(upper.open(QIODevice::WriteOnly));
        QVERIFY(QDir(m_dir.path()).mkdir(u"folder.ics"_s));
        // Relative paths in the rows are relative to the launch's directory.
        m_previousDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    // Each test its own channel, so runs in parallel never meet.
    void init()
    {
        qputenv("CALENDAR_INSTANCE",
                QByteArray("tst-") + QByteArray::number(QCoreApplication::applicationPid()) + '-'
                    + QByteArray::number(++m_instanceCounter));
    }

    void buildCommand_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // %1 is the temporary folder

        QTest::newRow("no arguments -> focus") << QStringList{} << line(R"({"cmd":"focus"})");
        QTest::newRow("--show-today") << QStringList{u"--show-today"_s} << line(R"({"cmd":"show-today"})");

        QTest::newRow("--quick-add with a phrase") << QStringList{u"--quick-add"_s, u"Dentist tomorrow 3pm"_s}
                                                   << line(R"({"cmd":"quick-add","text":"Dentist tomorrow 3pm"})");
        QTest::newRow("--quick-add consumes an option-like phrase")
            << QStringList{u"--quick-add"_s, u"--show-today"_s} << line(R"({"cmd":"quick-add","text":"--show-today"})");
        QTest::newRow("lone trailing --quick-add -> focus")
            << QStringList{u"--quick-add"_s} << line(R"({"cmd":"focus"})");
        QTest::newRow("later option wins, earlier text stays")
            << QStringList{u"--quick-add"_s, u"Gym"_s, u"--show-today"_s}
            << line(R"({"cmd":"show-today","text":"Gym"})");

        QTest::newRow("--ics relative path made absolute")
            << QStringList{u"--ics"_s, u"invite.ics"_s} << line(R"({"cmd":"open-ics","path":"%1/invite.ics"})");
        QTest::newRow("lone trailing --ics -> focus") << QStringList{u"--ics"_s} << line(R"({"cmd":"focus"})");
        QTest::newRow("bare existing .ics made absolute")
            << QStringList{u"invite.ics"_s} << line(R"({"cmd":"open-ics","path":"%1/invite.ics"})");
        QTest::newRow("bare existing .ICS in capitals")
            << QStringList{u"%1/MEETING.ICS"_s} << line(R"({"cmd":"open-ics","path":"%1/MEETING.ICS"})");
        QTest::newRow("bare missing .ics -> focus") << QStringList{u"nowhere.ics"_s} << line(R"({"cmd":"focus"})");
        QTest::newRow("bare folder named .ics -> focus") << QStringList{u"folder.ics"_s} << line(R"({"cmd":"focus"})");
    }
    void buildCommand()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        for (QString &a : arguments)
            a.replace(u"%1"_s, m_dir.path());
        arguments.prepend(u"/usr/bin/calendar"_s);
        QCOMPARE(QString::fromUtf8(SingleInstance::buildCommand(arguments)), expected.arg(m_dir.path()) + u'\n');
    }

    void dispatchCommand_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("signal");
        QTest::addColumn<bool>("malformed");

        QTest::newRow("focus") << QByteArray("{\"cmd\":\"focus\"}\n") << u"focus"_s << false;
        QTest::newRow("quick-add with text")
            << QByteArray(R"({"cmd":"quick-add","text":"Café at 9"})") << u"quick-add:Café at 9"_s << false;
        QTest::newRow("open-ics") << QByteArray(R"({"cmd":"open-ics","path":"/tmp/a.ics"})") << u"open-ics:/tmp/a.ics"_s
                                  << false;

        QTest::newRow("unknown word -> focus") << QByteArray(R"({"cmd":"explode"})") << u"focus"_s << false;
        QTest::newRow("not JSON -> focus, logged") << QByteArray("hello\n") << u"focus"_s << true;
        QTest::newRow("JSON array -> focus, logged") << QByteArray(R"(["quick-add"])") << u"focus"_s << true;
    }
    void dispatchCommand()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, signal);
        QFETCH(bool, malformed);
        SingleInstance instance;
        Recorder recorder(&instance);
        if (malformed)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^\\[SingleInstance\\] bad command: "_s));
        instance.dispatchCommand(line);
        QCOMPARE(recorder.seen, QStringList{signal});
    }

    void secondLaunchForwardsToTheFirst()
    {
        SingleInstance first;
        Recorder recorder(&first);
        QVERIFY(!first.forwardOrListen({u"calendar"_s}));
        QVERIFY(first.isListening());
        // Only the owner may connect.
        const QFileDevice::Permissions other = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFileInfo(socketPath()).permissions() & other, QFileDevice::Permissions());

        SingleInstance second;
        QVERIFY(second.forwardOrListen({u"calendar"_s, u"--quick-add"_s, u"Dentist tomorrow 3pm"_s}));
        QVERIFY(!second.isListening());
        SingleInstance third;
        QVERIFY(third.forwardOrListen({u"calendar"_s, u"--ics"_s, u"invite.ics"_s}));

        QVERIFY(recorder.waitFor(2));
        QCOMPARE(recorder.seen,
                 (QStringList{u"quick-add:Dentist tomorrow 3pm"_s, u"open-ics:"_s + m_dir.filePath(u"invite.ics"_s)}));
    }

    void linesAreSplitAtNewlinesOnly()
    {
        SingleInstance server;
        Recorder recorder(&server);
        QVERIFY(!server.forwardOrListen({u"calendar"_s}));

        QLocalSocket peer;
        peer.connectToServer(SingleInstance::serverName());
        QVERIFY(peer.waitForConnected(2000));
        peer.write(R"({"cmd":"show-today"})"
                   "\n"
                   R"({"cmd":"new-event"})"
                   "\n"
                   R"({"cmd":"quick-add","te)");
        QVERIFY(peer.waitForBytesWritten(2000));
        QVERIFY(recorder.waitFor(2));
        QTest::qWait(50);
        QCOMPARE(recorder.seen, (QStringList{u"show-today"_s, u"new-event"_s}));

        peer.write(R"(xt":"Yoga 6pm"})"
                   "\n");
        QVERIFY(peer.waitForBytesWritten(2000));
        QVERIFY(recorder.waitFor(3));
        QCOMPARE(recorder.seen.last(), u"quick-add:Yoga 6pm"_s);
    }

    void overlongLineIsDropped()
    {
        SingleInstance server;
        Recorder recorder(&server);
        QVERIFY(!server.forwardOrListen({u"calendar"_s}));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"dropped a command longer than"_s));
        QLocalSocket flood;
        flood.connectToServer(SingleInstance::serverName());
        QVERIFY(flood.waitForConnected(2000));
        const QByteArray padding(SingleInstance::kMaxLineBytes + 10, 'x');
        flood.write(QByteArray("{\"cmd\":\"quick-add\",\"text\":\"") + padding);
        QVERIFY(flood.waitForBytesWritten(2000));
        QVERIFY(QTest::qWaitFor([&] { return flood.state() == QLocalSocket::UnconnectedState; }, 5000));
        QVERIFY(recorder.seen.isEmpty());

        // The server goes on serving others.
        SingleInstance next;
        QVERIFY(next.forwardOrListen({u"calendar"_s, u"--new-event"_s}));
        QVERIFY(recorder.waitFor(1));
        QCOMPARE(recorder.seen, QStringList{u"new-event"_s});
    }

    void staleSocketOfACrashedInstanceIsReplaced()
    {
        // A bound socket nobody listens on and the lock beside it, as a
        // killed instance leaves them.
        const int fd = bindAt(QFile::encodeName(socketPath()));
        QVERIFY(fd >= 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(socketPath()));
        const pid_t killed = ::fork();
        if (killed == 0) {
            QLockFile lock(socketPath() + u".lock"_s);
            ::_exit(lock.tryLock(0) ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(::waitpid(killed, &status, 0), killed);
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0 && QFileInfo::exists(socketPath() + u".lock"_s));

        SingleInstance restarted;
        Recorder recorder(&restarted);
        QVERIFY(!restarted.forwardOrListen({u"calendar"_s}));
        QVERIFY(restarted.isListening());

        SingleInstance later;
        QVERIFY(later.forwardOrListen({u"calendar"_s, u"--show-today"_s}));
        QVERIFY(recorder.waitFor(1));
        QCOMPARE(recorder.seen, QStringList{u"show-today"_s});
    }

    // --- Other local users ---

    void channelLivesInAPrivateFolder()
    {
        const QString name = SingleInstance::serverName();
        const QFileInfo folder(QFileInfo(name).path());
        QCOMPARE(folder.ownerId(), uint(::geteuid()));
        QCOMPARE(folder.permissions()
                     & (QFile::ReadOther | QFile::WriteOther | QFile::ExeOther | QFile::ReadGroup | QFile::WriteGroup
                        | QFile::ExeGroup),
                 QFile::Permissions());
    }

    // Without XDG_RUNTIME_DIR, programs started at the same moment all find
    // the private folder they make, none of them a half-made one.
    void simultaneousStartsFindTheOwnFolder()
    {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        QStringList failed;
        for (int round = 0; round < 40 && failed.isEmpty(); ++round) {
            QTemporaryDir fresh;
            qputenv("XDG_CACHE_HOME", QFile::encodeName(fresh.path()));
            std::atomic<bool> go{false};
            std::vector<QString> found(8);
            std::vector<std::thread> starts;
            for (QString &folder : found) {
                starts.emplace_back([&go, &folder] {
                    while (!go.load())
                        std::this_thread::yield();
                    folder = SingleInstance::runtimeDirectory();
                });
            }
            go.store(true);
            for (std::thread &start : starts)
                start.join();
            for (const QString &folder : found) {
                if (!folder.startsWith(fresh.path()))
                    failed.append(folder.isEmpty() ? u"(none)"_s : folder);
            }
        }
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
        if (!runtime.isEmpty())
            qputenv("XDG_RUNTIME_DIR", runtime);
        QCOMPARE(failed, QStringList());
    }

    void nameTakenByAnotherUserIsNotUsed()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to act as a second user");
        // Another user's runtime folder named as ours, with the channel's
        // name already listening in it: a launch must neither hand it a
        // command nor give up its start for it.
        QTemporaryDir shared;
        const QString theirs = shared.filePath(u"theirs"_s);
        QVERIFY(QDir().mkdir(theirs));
        QCOMPARE(::chown(QFile::encodeName(theirs).constData(), kNobody, kNobody), 0);
        QCOMPARE(::chmod(QFile::encodeName(shared.path()).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(theirs).constData(), 0700), 0);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(theirs));
        const QByteArray squatted = QFile::encodeName(theirs + u"/quillmarten-calendar-"_s
                                                      + qEnvironmentVariable("CALENDAR_INSTANCE"));

        // Bound here, so that the other user needs no way into this test's
        // folders (the temporary folder may be private); listening makes the
        // socket that user's.
        const int bound = bindAt(squatted);
        QVERIFY(bound >= 0);
        int ready[2];
        QCOMPARE(::pipe(ready), 0);
        const pid_t owner = ::fork();
        if (owner == 0) {
            // The other user: listens, and reports whether anyone came.
            ::close(ready[0]);
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(100);
            const int fd = bound;
            if (::listen(fd, 4) != 0)
                ::_exit(101);
            (void)!::write(ready[1], "1", 1);
            pollfd waiting{fd, POLLIN, 0};
            ::_exit(::poll(&waiting, 1, 3000) > 0 ? 1 : 0);
        }
        ::close(ready[1]);
        ::close(bound);
        char byte = 0;
        QCOMPARE(::read(ready[0], &byte, 1), ssize_t(1));
        ::close(ready[0]);

        SingleInstance launch;
        const bool forwarded = launch.forwardOrListen({u"calendar"_s, u"--quick-add"_s, u"Secret meeting"_s});
        const QString used = SingleInstance::serverName();
        int status = 0;
        QVERIFY(QTest::qWaitFor([&] { return ::waitpid(owner, &status, WNOHANG) == owner; }, 10000));
        qputenv("XDG_RUNTIME_DIR", runtime);
        QVERIFY(!forwarded);
        QVERIFY(launch.isListening());
        QVERIFY2(!used.startsWith(theirs), qPrintable(used));
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0); // nobody connected to the other user's socket
    }

    void peerOfAnotherUserIsRefused()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to act as a second user");
        // A channel folder of its own: the modes opened below must not make
        // the shared one look foreign to programs other tests start meanwhile.
        QTemporaryDir temp;
        QVERIFY(QFile::setPermissions(temp.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup
                                          | QFile::ExeOther));
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(temp.path()));
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
            if (!runtime.isEmpty())
                qputenv("XDG_RUNTIME_DIR", runtime);
        });
        SingleInstance server;
        Recorder recorder(&server);
        QVERIFY(!server.forwardOrListen({u"calendar"_s}));
        QVERIFY(SingleInstance::serverName().startsWith(temp.path()));
        // A hole in the folder's and the socket's modes (a careless umask, a
        // shared runtime folder): the credentials still keep others out.
        const QByteArray path = QFile::encodeName(SingleInstance::serverName());
        const QByteArray folder = QFile::encodeName(QFileInfo(SingleInstance::serverName()).path());
        const QByteArray socketName = QFile::encodeName(QFileInfo(SingleInstance::serverName()).fileName());
        struct stat before
        { };
        QCOMPARE(::stat(folder.constData(), &before), 0);
        QCOMPARE(::chmod(folder.constData(), 0711), 0);
        QCOMPARE(::chmod(path.constData(), 0777), 0);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"refused a connection from another user"_s));
        // The other user comes in through the channel's folder alone: the
        // folders above it (the temporary folder among them) may be private.
        const int inFolder = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(inFolder >= 0);
        const int sent = asNobody([inFolder, &socketName] {
            if (::fchdir(inFolder) != 0)
                return 4;
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            memcpy(address.sun_path, socketName.constData(), size_t(socketName.size()));
            if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0)
                return 2;
            const char command[] = "{\"cmd\":\"quick-add\",\"text\":\"Injected\"}\n";
            return ::write(fd, command, sizeof(command) - 1) > 0 ? 0 : 3;
        });
        ::close(inFolder);
        QTest::qWait(300);
        ::chmod(folder.constData(), before.st_mode & 07777);
        QCOMPARE(sent, 0);
        QCOMPARE(recorder.seen, QStringList());

        // The owner is still served.
        SingleInstance later;
        QVERIFY(later.forwardOrListen({u"calendar"_s, u"--show-today"_s}));
        QVERIFY(recorder.waitFor(1));
        QCOMPARE(recorder.seen, QStringList{u"show-today"_s});
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
