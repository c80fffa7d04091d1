#include "application.h"
#include "appstate.h"
#include "database.h"
#include "environment.h"
#include "eventrepository.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "preferencesrepository.h"
#include "scriptedhttpserver.h"
#include "singleinstance.h"
#include "update/client.h"
#include "updatedialog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray manifest(const QString &version)
{
    const QJsonObject entry{{u"version"_s, version},
                            {u"url"_s, u"https://downloads.example.org/calendar-%1.AppImage"_s.arg(version)}};
    const QJsonObject document{{u"product"_s, u"calendar"_s},
                               {u"channel"_s, u"stable"_s},
                               {u"platforms"_s, QJsonObject{{TolmUpdate::Client::platformKey(), entry}}}};
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

QList<TolmUpdate::UpdateDialog *> updateDialogs()
{
    QList<TolmUpdate::UpdateDialog *> dialogs;
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets) {
        if (auto *dialog = qobject_cast<TolmUpdate::UpdateDialog *>(widget); dialog && dialog->isVisible())
            dialogs.append(dialog);
    }
    return dialogs;
}

} // namespace

// Runs inside the one Application of this process (see main below).
class TestApplication : public QObject
{
    Q_OBJECT
public:
    TestApplication(Application *app, const QString &root)
        : m_app(app)
        , m_root(root)
    {
    }

private:
    Application *m_app;
    QString m_root;

    // Runs the application, which must refuse to start: the title and text
    // of the message box it shows ("title\ntext"), answered.
    QString runUntilRefused()
    {
        QString shown;
        bool answered = false;
        whenModal<QMessageBox>(
            [&shown](QMessageBox *box) {
            shown = box->windowTitle() + u"\n"_s + box->text();
            box->accept();
            },
            &answered, 30000); // a locked file is waited for before the box
        const int code = m_app->run();
        return code == 1 && answered ? shown : u"<not refused>"_s;
    }

private Q_SLOTS:
    void updateCheck_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<bool>("failure");

        QTest::newRow("newer version -> dialog") << 200 << manifest(u"1.10.0"_s) << true << false;
        QTest::newRow("same version -> nothing") << 200 << manifest(u"1.3.0"_s) << false << false;
        QTest::newRow("404 -> logged failure") << 404 << QByteArray("not here") << false << true;
    }
    void updateCheck()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, dialog);
        QFETCH(bool, failure);

        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/calendar/stable/latest.json").reply(status, body);
        qputenv(Application::kUpdateUrlVariable, server.url(u"/calendar/stable/"_s).toString().toUtf8());
        if (failure)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^update check failed: "_s));
        else
            QTest::failOnWarning(QRegularExpression(u"update check failed"_s));

        m_app->startUpdateCheck();
        const QList<TolmUpdate::Client *> clients = m_app->findChildren<TolmUpdate::Client *>();
        QVERIFY(!clients.isEmpty());
        TolmUpdate::Client *client = clients.last();
        QSignalSpy available(client, &TolmUpdate::Client::updateAvailable);
        QSignalSpy upToDate(client, &TolmUpdate::Client::upToDate);
        QSignalSpy failed(client, &TolmUpdate::Client::checkFailed);
        QTRY_COMPARE(available.size() + upToDate.size() + failed.size(), 1);
        QCOMPARE(failed.size(), failure ? 1 : 0);
        QCOMPARE(server.problems(), QStringList());

        const QList<TolmUpdate::UpdateDialog *> shown = updateDialogs();
        QCOMPARE(shown.size(), dialog ? 1 : 0);
        if (dialog) {
            QCOMPARE(shown.first()->artifact().version, u"1.10.0"_s);
            QPointer<TolmUpdate::UpdateDialog> closed = shown.first();
            closed->close();
            QTRY_VERIFY(closed.isNull()); // deletes itself
        }
        delete client;
    }

    void refusedStartSaysWhyAndEnds_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("says");
        QTest::newRow("database of a newer version: refused, file unchanged")
            << u"newer"_s << u"Database Error"_s << u"created by a newer version"_s;
        QTest::newRow("data folder locked by a running program: ends")
            << u"locked"_s << u"Calendar Already Running"_s << u"in use by another running calendar"_s;
        QTest::newRow("database held by another program: locked, not a permission")
            << u"held"_s << u"Database Error"_s << u"locked by another program"_s;
        QTest::newRow("damaged database: refused, file unchanged")
            << u"damaged"_s << u"Database Error"_s << u"database is damaged"_s;
        QTest::newRow("page damaged in a file left open: said after the window shows, ends, file unchanged")
            << u"damaged page"_s << u"Database Error"_s << u"database is damaged"_s;
    }
    void refusedStartSaysWhyAndEnds()
    {
        QFETCH(QString, cause);
        QFETCH(QString, title);
        QFETCH(QString, says);
        const QString dataDir = m_root + u"/refused-"_s + cause;
        qputenv("CALENDAR_DATA_DIR", dataDir.toUtf8());
        const QString path = databasePath();
        {
            Database newer;
            QVERIFY(newer.open(path));
            QVERIFY(newer.migrate());
            if (cause == u"newer"_s)
                QVERIFY(newer.applyMigration(Database::latestVersion() + 1, u"future"_s, u"-- later\n"_s));
            // Pages no start reads, for the damage to land in.
            QVERIFY(QSqlQuery(newer.database())
                        .exec(u"CREATE TABLE filler AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                              "FROM n WHERE i < 3000) SELECT printf('%.200c', 'v') AS x FROM n"_s));
            if (cause != u"damaged page"_s)
                QSqlQuery(newer.database()).exec(u"PRAGMA journal_mode=DELETE"_s);
        }
        if (cause.startsWith(u"damaged"_s)) {
            QFile damaged(path);
            const qint64 at = cause == u"damaged"_s ? 0 : damaged.size() * 3 / 4 / 4096 * 4096;
            QVERIFY(damaged.open(QIODevice::ReadWrite) && damaged.seek(at) && damaged.write(QByteArray(4096, 'x')));
            // Later than the clean close that stamped it, beyond the file system's clock tick.
            QVERIFY(
                damaged.flush()
                && damaged.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        }
        // Another program with the file open and locked until stdin closes.
        QProcess other;
        if (cause == u"held"_s) {
            other.start(u"/usr/bin/python3"_s,
                        {u"-c"_s,
                         u"import sqlite3, sys\nc = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                         "c.execute('BEGIN EXCLUSIVE')\nprint('held', flush=True)\nsys.stdin.read()"_s,
                         path});
            QTRY_VERIFY_WITH_TIMEOUT(other.canReadLine(), 10000);
        }
        QLockFile holder(dataDir + u"/calendar.lock"_s);
        if (cause == u"locked"_s)
            QVERIFY(holder.tryLock(0));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        const QString shown = runUntilRefused();
        QVERIFY2(shown.startsWith(title + u"\n"_s) && shown.contains(says) && shown.contains(dataDir),
                 qPrintable(shown));
        QVERIFY(!m_app->mainWindow());
        other.closeWriteChannel();
        other.waitForFinished();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void databaseErrorShowsTheDirectoryAndEnds()
    {
        // A data directory below a plain file can never be created.
        const QString blocker = m_root + u"/blocker"_s;
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString dataDir = blocker + u"/data"_s;
        qputenv("CALENDAR_DATA_DIR", dataDir.toUtf8());

        const QString shown = runUntilRefused();
        QVERIFY2(shown.startsWith(u"Database Error\n"_s) && shown.contains(dataDir), qPrintable(shown));
        QVERIFY(!m_app->mainWindow());
    }

    // One whole run: started minimised, the launch's own "focus" leaves the
    // window hidden, forwarded commands still act, and the window is gone
    // once the event loop has ended.
    void hiddenStartStaysHiddenAndTakesCommands()
    {
        qputenv("CALENDAR_DATA_DIR", (m_root + u"/run"_s).toUtf8());
        qputenv(Application::kUpdateUrlVariable, "http://127.0.0.1:9/");
        {
            Database database;
            QVERIFY(database.open(databasePath()));
            QVERIFY(database.migrate());
            PreferencesRepository(&database).setBool(u"ui/startMinimized"_s, true);
        }
        const QString program = QCoreApplication::applicationFilePath();
        auto *single = new SingleInstance(m_app);
        QVERIFY(!single->forwardOrListen({program}));
        m_app->setSingleInstance(single, SingleInstance::buildCommand({program}));

        // Checked inside the running loop; what failed is listed.
        QStringList failed;
        const auto expect = [&failed](bool ok, const QString &what) {
            if (!ok)
                failed.append(what);
        };
        QPointer<MainWindow> window;
        QTimer::singleShot(0, m_app, [&] {
            window = m_app->mainWindow();
            expect(!window.isNull(), u"window built"_s);
            if (!window) {
                QCoreApplication::quit();
                return;
            }
            QTest::qWait(200); // the launch's own command has been dispatched
            expect(!window->isVisible(), u"hidden after its own focus"_s);
            SingleInstance second;
            expect(second.forwardOrListen({program, u"--quick-add"_s, u"Dentist tomorrow 3pm"_s}), u"forwarded"_s);
            expect(QTest::qWaitFor([&] { return !m_app->appState()->events()->search(u"Dentist"_s, 1).isEmpty(); }),
                   u"quick-added"_s);
            expect(!window->isVisible(), u"hidden after quick-add"_s);
            SingleInstance third;
            third.forwardOrListen({program, u"--show-today"_s});
            expect(QTest::qWaitFor([&] { return window->isVisible(); }), u"shown for today"_s);
            window->quitApplication();
        });
        QCOMPARE(m_app->run(), 0);
        QCOMPARE(failed, QStringList());
        QVERIFY(window.isNull()); // deleted when the loop ended
        QVERIFY(!m_app->mainWindow());
        QVERIFY(m_app->appState()); // and the state outlives it
    }
};

int main(int argc, char **argv)
{
    // Settings, desktop entries and the socket of this run stay in one place.
    QTemporaryDir root;
    qputenv("XDG_CONFIG_HOME", (root.path() + u"/config"_s).toUtf8());
    qputenv("XDG_DATA_HOME", (root.path() + u"/xdg"_s).toUtf8());
    qputenv("XDG_CACHE_HOME", (root.path() + u"/cache"_s).toUtf8());
    qputenv("SYNC_API_URL", "http://127.0.0.1:9/calendar/v1");
    qputenv("CALENDAR_INSTANCE", "tst-application-" + QByteArray::number(QCoreApplication::applicationPid()));
    Application app(argc, argv);
    TestApplication test(&app, root.path());
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
