#include "accountrepository.h"
#include "appstatefixture.h"
#include "eventrepository.h"
#include "icsimport.h"
#include "loopbacknotifications.h"
#include "mainwindow.h"
#include "notificationservice.h"
#include "privatebus.h"
#include "storefailure.h"
#include "storetransaction.h"
#include "synccoordinator.h"
#include "tinyfilesystem.h"
#include "trayfixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimeZone>
#include <QTimer>


#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;
// Enough events that an import still runs a good while after its first
// batch.
constexpr int kHeldImportEvents = 100000;

QString writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return path;
}

// `count` events of about `size` bytes each.
QByteArray bulkCalendar(int count, int size)
{
    QByteArray file = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
    const QByteArray filler(size, 'x');
    for (int i = 0; i < count; ++i) {
        file += "BEGIN:VEVENT\r\nUID:bulk-" + QByteArray::number(i)
            + "\r\nSUMMARY:Bulk\r\nDTSTART:20240501T100000Z\r\nDESCRIPTION:" + filler + "\r\nEND:VEVENT\r\n";
    }
    return file + "END:VCALENDAR\r\n";
}

// Counts the warnings logged while it lives.
class WarningCounter
{
public:
    WarningCounter()
    {
        s_count = 0;
        m_previous = qInstallMessageHandler(&WarningCounter::handle);
    }
    ~WarningCounter() { qInstallMessageHandler(m_previous); }
    int count() const { return s_count; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &)
    {
        if (type == QtWarningMsg || type == QtCriticalMsg)
            ++s_count;
    }
    static inline std::atomic<int> s_count{0};
    QtMessageHandler m_previous;
};

} // namespace

class TestIcsImport : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_files;

    AppState *state() const { return m_fixture->state(); }
    QString status() const { return m_window->statusBar()->currentMessage(); }

    void startWindow()
    {
        QVERIFY(m_fixture->start());
        m_window = std::make_unique<MainWindow>(state());
    }

    // Imports through the window and waits for the report: the text of the
    // message box when one came, else the status bar's.
    QString importAndWait(const QString &path)
    {
        QString boxText;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&boxText] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxText = box->text();
                box->accept();
            }
        });
        answer.start(20);
        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        m_window->importIcsFromCommand(path);
        if (!finished.wait(60000))
            return u"(no report)"_s;
        return boxText.isEmpty() ? status() : boxText;
    }

    // Starts an import of `events` events and returns once it stored its
    // first batch: from then on it holds the database's write lock.
    void startHoldingImport(int events)
    {
        const QString path = writeFile(m_files.filePath(u"big.ics"_s), bulkCalendar(events, 200));
        m_window->importIcsFromCommand(path);
        auto *progress = m_window->findChild<QProgressDialog *>();
        QVERIFY(progress);
        QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, 20000);
    }

    bool acknowledged(const QString &eventId) const
    {
        QSqlQuery query(state()->database()->database());
        query.prepare(u"SELECT MIN(acknowledged) FROM reminders WHERE event_id = ?"_s);
        query.addBindValue(eventId);
        return query.exec() && query.next() && query.value(0).toInt() == 1;
    }

    // A CalDAV account on `server`, never synced, so every sync finds it due.
    void addAccountOn(const QTcpServer &server)
    {
        Account account;
        account.id = u"peer-account"_s;
        account.name = u"Peer"_s;
        account.type = u"caldav"_s;
        account.server_url = u"http://127.0.0.1:%1/"_s.arg(server.serverPort());
        account.username = u"alice"_s;
        account.sync_interval_minutes = 15;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(state()->accounts()->insert(account));
    }

    QStringList storedTitles() const
    {
        QStringList titles;
        const QList<Event> events = state()->events()->getByCalendar(kPersonal);
        for (const Event &event : events)
            titles.append(event.title);
        titles.sort();
        return titles;
    }

    // The events' indexes as the schema holds them.
    QStringList eventIndexes() const
    {
        QSqlQuery query(state()->database()->database());
        query.exec(u"SELECT sql FROM sqlite_schema WHERE type = 'index' AND tbl_name = 'events' ORDER BY name"_s);
        QStringList indexes;
        while (query.next())
            indexes.append(query.value(0).toString());
        return indexes;
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        qputenv("XDG_CONFIG_HOME", m_files.filePath(u"config"_s).toUtf8());
    }
    void cleanup()
    {
        m_window.reset();
        m_fixture.reset();
    }

    // Files as other programs and accidents leave them; beside each its
    // report and, after "--", the titles stored.
    void corpus_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(CALENDAR_TEST_DATA_DIR "/import"));
        const QStringList files = dir.entryList({u"*.ics"_s}, QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString &file : files)
            QTest::newRow(qPrintable(file)) << dir.filePath(file);
    }
    void corpus()
    {
        QFETCH(QString, file);
        QFile expectedFile(file.chopped(4) + u".expected"_s);
        QVERIFY(expectedFile.open(QIODevice::ReadOnly));
        const QString expected = QString::fromUtf8(expectedFile.readAll());
        const qsizetype separator = expected.indexOf(u"\n--\n"_s);
        QVERIFY(separator > 0);
        QStringList titles = expected.mid(separator + 4).split(u'\n', Qt::SkipEmptyParts);
        titles.sort();

        startWindow();
        QCOMPARE(importAndWait(file), expected.left(separator));
        QCOMPARE(storedTitles(), titles);
        // What a push sends holds no control character either.
        static const QRegularExpression control(u"[\\x00-\\x08\\x0b\\x0c\\x0e-\\x1f\\x7f]"_s);
        const QList<Event> events = state()->events()->getByCalendar(kPersonal);
        for (const Event &event : events)
            QVERIFY2(!event.raw_icalendar.contains(control), qPrintable(event.uid));
    }

    void aRefusedEventIsLeftOutAndCounted()
    {
        startWindow();
        QSqlQuery trigger(state()->database()->database());
        QVERIFY(trigger.exec(u"CREATE TRIGGER refuse_first BEFORE INSERT ON events WHEN NEW.uid = 'a' "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END"_s));
        const QString path = QStringLiteral(CALENDAR_TEST_DATA_DIR "/import/utf8-crlf.ics");
        QCOMPARE(importAndWait(path),
                 u"Imported 1 event(s) from utf8-crlf.ics; 1 could not be stored\n\n"
                 "New events: 1\nRefused by the calendar database: 1"_s);
        QCOMPARE(storedTitles(), QStringList{u"日本 meeting"_s});
    }

    // A disk that fills up in the middle: nothing of the file stays, the
    // user reads why once, and the log holds a line or two, not one per
    // event left.
    void aFullDiskKeepsNothing_data()
    {
        QTest::addColumn<bool>("tinyFilesystem");
        QTest::newRow("data folder on a filesystem too small for the file") << true;
        QTest::newRow("database at its page limit") << false;
    }
    void aFullDiskKeepsNothing()
    {
        QFETCH(bool, tinyFilesystem);
        const QString path = writeFile(m_files.filePath(u"bulk.ics"_s), bulkCalendar(400, 3000));
        std::unique_ptr<TinyFilesystem> disk;
        if (tinyFilesystem) {
            const QString data = m_files.filePath(u"tiny"_s);
            disk = std::make_unique<TinyFilesystem>(data, 768);
            if (!disk->isMounted())
                QSKIP("Mounting a small tmpfs needs root; the page-limit row covers the logic");
            qputenv("CALENDAR_DATA_DIR", QFile::encodeName(data));
        }
        startWindow();
        QVERIFY(state()->events()->insert([] {
            Event kept;
            kept.id = u"kept"_s;
            kept.uid = u"kept"_s;
            kept.calendar_id = kPersonal;
            kept.title = u"Kept"_s;
            kept.start_time = QDateTime(QDate(2024, 5, 1), QTime(9, 0), QTimeZone::utc());
            kept.raw_icalendar = u"BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"_s;
            kept.created = kept.last_modified = kept.start_time;
            return kept;
        }()));

        WarningCounter warnings;
        if (tinyFilesystem) {
            QCOMPARE(importAndWait(path), u"Nothing was imported from bulk.ics: the disk is full."_s);
            m_window.reset();
        } else {
            // The limit belongs to a connection: this one is the window's.
            QSqlQuery pragma(state()->database()->database());
            QVERIFY(pragma.exec(u"PRAGMA page_count"_s) && pragma.next());
            QVERIFY(pragma.exec(u"PRAGMA max_page_count = %1"_s.arg(pragma.value(0).toInt() + 40)));
            const IcsImport::Result result = IcsImport::importFile(state()->events(), state()->database(), path,
                                                                   kPersonal);
            QVERIFY(pragma.exec(u"PRAGMA max_page_count = 1073741823"_s));
            QCOMPARE(result.outcome, IcsImport::Outcome::StoreFailed);
            QCOMPARE(result.failure, StoreFailure::DiskFull);
            QCOMPARE(result.added + result.updated, 0);
        }
        QVERIFY2(warnings.count() <= 4, qPrintable(QString::number(warnings.count())));
        QCOMPARE(storedTitles(), QStringList{u"Kept"_s});
    }

    // Another program writing to the database past the wait for its lock.
    void aLockHeldTooLongKeepsNothing()
    {
        startWindow();
        Database other;
        QVERIFY(other.open(m_fixture->databaseFile(), u"other-program"_s));
        StoreTransaction hold(&other, StoreTransaction::Lock::Immediate);
        QVERIFY(hold.isActive());
        WarningCounter warnings;
        QCOMPARE(importAndWait(QStringLiteral(CALENDAR_TEST_DATA_DIR "/import/utf8-crlf.ics")),
                 u"Nothing was imported from utf8-crlf.ics: the calendar database is locked by another program."_s);
        hold.discard();
        QVERIFY(!other.inTransaction());
        QVERIFY2(warnings.count() <= 2, qPrintable(QString::number(warnings.count())));
        QCOMPARE(storedTitles(), QStringList());
    }

    void cancelKeepsNothing()
    {
        startWindow();
        const QStringList indexes = eventIndexes();
        const QString path = writeFile(m_files.filePath(u"big.ics"_s), bulkCalendar(20000, 200));
        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        m_window->importIcsFromCommand(path);
        auto *progress = m_window->findChild<QProgressDialog *>();
        QVERIFY(progress);
        auto *cancel = progress->findChild<QPushButton *>();
        QVERIFY(cancel);
        cancel->click();
        QVERIFY(finished.wait(30000));
        QCOMPARE(status(), u"Import of big.ics cancelled; nothing was imported."_s);
        QCOMPARE(storedTitles(), QStringList());
        QCOMPARE(eventIndexes(), indexes);
    }

    // A file large enough that the events' indexes are built again at its
    // end: they are all there after it. Another file handed over meanwhile
    // (a file manager opens several one launch each) is imported after it.
    void aSecondImportWaitsForTheFirst()
    {
        startWindow();
        const QStringList indexes = eventIndexes();
        const QString path = writeFile(m_files.filePath(u"big.ics"_s), bulkCalendar(12000, 200));
        const QString other = writeFile(m_files.filePath(u"two.ics"_s),
                                        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:other\r\nSUMMARY:Other\r\n"
                                        "DTSTART:20240502T100000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        m_window->importIcsFromCommand(path);
        m_window->importIcsFromCommand(path);
        QCOMPARE(status(), u"An import is already running."_s);
        m_window->importIcsFromCommand(other);
        QCOMPARE(status(), u"two.ics will be imported after the current import."_s);
        QVERIFY(finished.wait(60000));
        QCOMPARE(status(), u"Imported 12000 event(s) from big.ics"_s);
        QCOMPARE(eventIndexes(), indexes);
        QVERIFY(finished.count() == 2 || finished.wait(60000));
        QCOMPARE(status(), u"Imported 1 event(s) from two.ics"_s);
        QCOMPARE(finished.count(), 2);
    }

    // While the import holds the database, the program's own background
    // writers wait for it instead of running into its lock, and do what was
    // asked meanwhile once it has ended.
    void backgroundWritersWaitForTheImport_data()
    {
        QTest::addColumn<bool>("userAsked");
        QTest::newRow("sync asked for by the user") << true;
        QTest::newRow("sync due on the interval tick") << false;
    }
    void backgroundWritersWaitForTheImport()
    {
        QFETCH(bool, userAsked);
        startWindow();
        // A server that hangs up on every request: each sync fails its
        // discovery and writes the failure to the account.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        int connections = 0;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            while (QTcpSocket *socket = server.nextPendingConnection()) {
                ++connections;
                socket->disconnectFromHost();
            }
        });
        addAccountOn(server);
        SyncCoordinator sync(state(), nullptr);
        QSignalSpy syncMessages(&sync, &SyncCoordinator::accountSyncFailed);
        const QString meeting = TrayFixture::addEvent(
            state(), TrayFixture::EventDraft(u"Meeting"_s, TrayFixture::local(2024, 5, 14, 10, 0)).remind({15}));
        QVERIFY(!meeting.isEmpty());
        // The reminder goes to a notification service on a bus of the test's own.
        PrivateBus bus;
        if (!bus.start())
            QSKIP("dbus-daemon is missing");
        LoopbackNotifications desktop(bus.address());
        QVERIFY(desktop.start());
        NotificationService reminders(state(), nullptr);
        reminders.setDesktopBus(bus.connect(u"reminders"_s));
        reminders.setClock([] { return TrayFixture::local(2024, 5, 14, 9, 50); });
        QSignalSpy clicked(&reminders, &NotificationService::reminderClicked);

        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        startHoldingImport(kHeldImportEvents);
        QCOMPARE(reminders.poll(), QList<FiredReminder>());
        if (userAsked)
            sync.syncNow();
        else
            sync.syncDueAccounts();
        QTest::qWait(300);
        QVERIFY2(finished.isEmpty(), "the import must still run here for the test to tell anything");
        QCOMPARE(connections, 0);
        QVERIFY(!acknowledged(meeting));

        QVERIFY(finished.wait(60000));
        QCOMPARE(status(), u"Imported %1 event(s) from big.ics"_s.arg(kHeldImportEvents));
        // The reminder held back was shown after the import, and once.
        QTRY_VERIFY(acknowledged(meeting));
        QCOMPARE(desktop.summaries(), QStringList{u"Meeting"_s});
        desktop.click(desktop.shown.first().id);
        QTRY_COMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().toString(), meeting);
        QCOMPARE(reminders.poll(), QList<FiredReminder>());
        // The sync held back ran after the import, once, and its failure was
        // written rather than lost to a lock.
        QVERIFY(QTest::qWaitFor([&] { return !syncMessages.isEmpty(); }, 15000));
        QTest::qWait(300);
        QCOMPARE(syncMessages.size(), 1);
        QVERIFY(connections > 0);
        QVERIFY(!state()->accounts()->getById(u"peer-account"_s)->last_sync_error.isEmpty());
    }

    // A sync run under way writes when it reports; the import takes the
    // database only after it, and Cancel meanwhile still stores nothing.
    void anImportWaitsForARunUnderWay_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("the run reports: the import goes in") << false;
        QTest::newRow("cancelled while waiting: nothing stored") << true;
    }
    void anImportWaitsForARunUnderWay()
    {
        QFETCH(bool, cancelled);
        startWindow();
        state()->beginSync();
        const QString path = writeFile(m_files.filePath(u"small.ics"_s), bulkCalendar(600, 20));
        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        m_window->importIcsFromCommand(path);
        auto *progress = m_window->findChild<QProgressDialog *>();
        QVERIFY(progress);
        QTest::qWait(300);
        QCOMPARE(progress->value(), 0);
        QVERIFY(finished.isEmpty());
        if (cancelled)
            progress->findChild<QPushButton *>()->click();
        else
            state()->endSync(false);
        QVERIFY(finished.wait(20000));
        QCOMPARE(storedTitles().size(), cancelled ? 0 : 600);
        QCOMPARE(status(),
                 cancelled ? u"Import of small.ics cancelled; nothing was imported."_s
                           : u"Imported 600 event(s) from small.ics"_s);
    }

    // The user's own writes outside the window's reach say why they wait.
    void quickAddDuringAnImportSaysSo()
    {
        startWindow();
        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        startHoldingImport(kHeldImportEvents);
        m_window->quickAddFromCommand(u"Lunch tomorrow 12:00"_s);
        QVERIFY(finished.isEmpty());
        QCOMPARE(status(), u"could not save: an import is running; try again when it has finished"_s);
        QVERIFY(finished.wait(60000));
        QVERIFY(!storedTitles().contains(u"Lunch"_s));
    }
};

QTEST_MAIN(TestIcsImport)
#include "tst_icsimport.moc"
