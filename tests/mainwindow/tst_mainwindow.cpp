#include "accountrepository.h"
#include "appstatefixture.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "notificationservice.h"
#include "preferencesdialog.h"
#include "preferencesrepository.h"
#include "quickadd.h"
#include "quickadddialog.h"
#include "testevents.h"
#include "thememanager.h"
#include "undostack.h"
#include "weekagenda.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return path;
}

// SUMMARY is optional in iCalendar: the first comes in untitled.
const QByteArray kTwoEvents = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n"
                              "BEGIN:VEVENT\r\nUID:import-1\r\n"
                              "DTSTART:20300105T090000Z\r\nDTEND:20300105T100000Z\r\nEND:VEVENT\r\n"
                              "BEGIN:VEVENT\r\nUID:import-2\r\nSUMMARY:Weekly sync\r\n"
                              "DTSTART:20300106T140000Z\r\nDTEND:20300106T143000Z\r\nRRULE:FREQ=WEEKLY\r\n"
                              "END:VEVENT\r\nEND:VCALENDAR\r\n";

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_files;

    AppState *state() const { return m_fixture->state(); }
    QString status() const { return m_window->statusBar()->currentMessage(); }
    int eventCount(const QString &calendarId = kPersonal) const
    {
        return int(state()->events()->getByCalendar(calendarId).size());
    }
    // The import runs on a thread of its own; this waits for its report.
    void importAndWait(const QString &path)
    {
        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        m_window->importIcsFromCommand(path);
        QVERIFY(finished.wait(20000));
    }
    void removeAllCalendars()
    {
        const QList<Calendar> calendars = state()->calendars()->getAll();
        for (const Calendar &calendar : calendars)
            QVERIFY(state()->calendars()->remove(calendar.id));
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        qputenv("XDG_CONFIG_HOME", m_files.filePath(u"config"_s).toUtf8());
        QVERIFY(m_fixture->start());
        m_window = std::make_unique<MainWindow>(state());
        // Where passwords are kept is said once at start; the tests read
        // what their own steps put in the status bar.
        QCoreApplication::processEvents();
        m_window->statusBar()->clearMessage();
    }
    void cleanup()
    {
        m_window.reset();
        m_fixture.reset();
    }

    // Alt and one letter reach each entry of a menu: every entry has a
    // mnemonic, and no two share one.
    void menuEntriesHaveMnemonicsOfTheirOwn_data()
    {
        QTest::addColumn<QString>("menu");
        for (const QString &menu : {u"&File"_s, u"&Edit"_s, u"&View"_s, u"&Tools"_s, u"&Sync"_s, u"&Help"_s})
            QTest::newRow(qPrintable(menu)) << menu;
    }
    void menuEntriesHaveMnemonicsOfTheirOwn()
    {
        QFETCH(QString, menu);
        QMenu *entries = nullptr;
        const QList<QAction *> menus = m_window->menuBar()->actions();
        for (QAction *action : menus) {
            if (action->text() == menu)
                entries = action->menu();
        }
        QVERIFY(entries);
        static const QRegularExpression mnemonic(u"&([^&])"_s);
        QStringList keys;
        const QList<QAction *> actions = entries->actions();
        for (QAction *action : actions) {
            if (action->isSeparator())
                continue;
            const QRegularExpressionMatch match = mnemonic.match(QString(action->text()).remove(u"&&"_s));
            QVERIFY2(match.hasMatch(), qPrintable(action->text()));
            const QString key = match.captured(1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(action->text()));
            keys.append(key);
        }
    }

    void quickAddFromCommand_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("withCalendars");
        QTest::addColumn<QString>("store"); // a pragma that makes writes fail, a refusing trigger, or empty
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("added");

        QTest::newRow("a phrase adds its event")
            << u"Dentist tomorrow 3pm"_s << true << QString() << u"Added: Dentist"_s << 1;
        QTest::newRow("blank text opens the quick-add window, nothing added")
            << u"   "_s << true << QString() << QString() << 0;
        QTest::newRow("without calendars nothing is added")
            << u"Dentist tomorrow 3pm"_s << false << QString() << u"Quick-add ignored: no calendars configured."_s << 0;
        QTest::newRow("a phrase that parses, on a full disk: the disk is named")
            << u"Dentist tomorrow 3pm"_s << true << u"max_page_count"_s << u"could not save: the disk is full"_s << 0;
        QTest::newRow("a phrase that parses, on a read-only database: read-only is named")
            << u"Dentist tomorrow 3pm"_s << true << u"query_only"_s
            << u"could not save: the calendar database is read-only"_s << 0;
        QTest::newRow("a phrase that parses, the event refused: no parse failure") << u"Dentist tomorrow 3pm"_s << true
            << u"trigger"_s << u"Quick-add couldn't save \"Dentist tomorrow 3pm\"."_s << 0;
    }
    void quickAddFromCommand()
    {
        QFETCH(QString, text);
        QFETCH(bool, withCalendars);
        QFETCH(QString, store);
        QFETCH(QString, message);
        QFETCH(int, added);
        if (!withCalendars)
            removeAllCalendars();
        QSqlQuery pragma(state()->database()->database());
        if (store == u"max_page_count"_s) {
            QVERIFY(pragma.exec(u"PRAGMA page_count"_s) && pragma.next());
            const int pages = pragma.value(0).toInt();
            QVERIFY(pragma.exec(u"PRAGMA max_page_count = %1"_s.arg(pages)));
            // Fill what room is left in the file's pages, down to rows a
            // little longer than the phrase's.
            int filler = 0;
            for (const int size : {4000, 500, 60}) {
                while (pragma.exec(u"INSERT INTO settings (key, value) VALUES ('filler-%1', '%2')"_s.arg(++filler).arg(
                    QString(size, u'x'))))
                    ;
            }
            while (!QuickAdd::addFromText(state(), u"Fillerxx tomorrow 3pm"_s, QString()).isEmpty())
                ;
        } else if (store == u"trigger"_s) {
            QVERIFY(pragma.exec(u"CREATE TRIGGER no BEFORE INSERT ON events BEGIN SELECT RAISE(ABORT, 'no'); END"_s));
        } else if (!store.isEmpty()) {
            QVERIFY(pragma.exec(u"PRAGMA %1 = 1"_s.arg(store)));
        }
        m_window->quickAddFromCommand(text);
        QCOMPARE(status(), message);
        if (store == u"query_only"_s)
            QVERIFY(pragma.exec(u"PRAGMA query_only = 0"_s));
        QCOMPARE(int(state()->events()->search(u"Dentist"_s, 10).size()), added);
        QCOMPARE(m_window->quickAddDialog() && m_window->quickAddDialog()->isVisible(), text.trimmed().isEmpty());
    }

    // One window, made once and shown again; each showing starts empty.
    void quickAddWindowAddsThePhrase()
    {
        m_window->quickAddAction()->trigger();
        QuickAddDialog *quickAdd = m_window->quickAddDialog();
        QVERIFY(quickAdd && quickAdd->isVisible());
        auto *input = quickAdd->findChild<QLineEdit *>(u"quickAddInput"_s);
        QTest::keyClicks(input, u"Yoga friday 6pm"_s);
        QTest::keyClick(input, Qt::Key_Return);
        QVERIFY(!quickAdd->isVisible());
        QCOMPARE(eventCount(), 1);

        m_window->quickAddAction()->trigger();
        QCOMPARE(m_window->quickAddDialog(), quickAdd);
        QVERIFY(quickAdd->isVisible());
        QCOMPARE(input->text(), QString());
        quickAdd->reject();
        QCOMPARE(eventCount(), 1);
    }

    // With no calendar the phrase brings the main window forward instead.
    void quickAddWithoutCalendarShowsTheWindow()
    {
        removeAllCalendars();
        QVERIFY(!m_window->isVisible());
        m_window->quickAddFromCommand(QString());
        auto *input = m_window->quickAddDialog()->findChild<QLineEdit *>(u"quickAddInput"_s);
        QTest::keyClicks(input, u"Yoga friday 6pm"_s);
        QTest::keyClick(input, Qt::Key_Return);
        QVERIFY(!m_window->quickAddDialog()->isVisible());
        QVERIFY(m_window->isVisible());
    }

    void importTakesEventsIntoTheDefaultCalendar()
    {
        const QString path = writeFile(m_files, u"two.ics"_s, kTwoEvents);
        importAndWait(path);
        QCOMPARE(status(), u"Imported 2 event(s) from two.ics"_s);
        const QList<Event> events = state()->events()->getByCalendar(kPersonal);
        QCOMPARE(events.size(), 2);
        for (const Event &event : events)
            QCOMPARE(event.sync_status, u"pending"_s);

        // A second import of the same file does not double, and leaves the
        // events that hold what it has as they are: nothing to push again.
        const QString rows = u"SELECT * FROM events; SELECT COUNT(*) FROM events_changes"_s;
        m_fixture->cli(u"UPDATE events SET sync_status = 'synced'"_s);
        const QString stored = m_fixture->cli(rows);
        importAndWait(path);
        QCOMPARE(status(), u"Nothing new in two.ics: its 2 event(s) are in the calendar already"_s);
        QCOMPARE(m_fixture->cli(rows), stored);
        // One changed in the file is rewritten.
        importAndWait(writeFile(m_files, u"two.ics"_s, QByteArray(kTwoEvents).replace("Weekly", "Daily")));
        QCOMPARE(status(), u"Imported 1 event(s) from two.ics (1 updated)"_s);
        QCOMPARE(eventCount(), 2);

        // A deleted copy comes back with the next import.
        const QString firstId = events.first().id;
        QVERIFY(state()->events()->remove(firstId));
        QCOMPARE(eventCount(), 1);
        importAndWait(path);
        QCOMPARE(eventCount(), 2);
        QVERIFY(!state()->events()->getById(firstId)->deleted_at);
    }

    void importThroughTheFileDialog()
    {
        const QString path = writeFile(m_files, u"menu.ics"_s, kTwoEvents);
        bool answered = false;
        whenModal<QFileDialog>(
            [path](QFileDialog *dialog) {
            // selectFile() leaves the name field alone once it has focus.
            dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(path);
            static_cast<QDialog *>(dialog)->accept();
            },
            &answered);
        QSignalSpy finished(m_window.get(), &MainWindow::importFinished);
        m_window->importAction()->trigger();
        QVERIFY(answered);
        QVERIFY(finished.wait(20000));
        QCOMPARE(status(), u"Imported 2 event(s) from menu.ics"_s);
        QCOMPARE(eventCount(), 2);
    }

    void importRejectsWhatItCannotRead_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("create");
        QTest::addColumn<QString>("message"); // empty: a box

        QTest::newRow("missing file -> box") << u"missing.ics"_s << false << QString();
        QTest::newRow("no events -> status") << u"empty.ics"_s << true << u"No events found in empty.ics"_s;
    }
    void importRejectsWhatItCannotRead()
    {
        QFETCH(QString, name);
        QFETCH(bool, create);
        QFETCH(QString, message);
        const QString path = m_files.filePath(name);
        if (create)
            writeFile(m_files, name, "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n");

        QString boxText;
        bool answered = false;
        if (message.isEmpty()) {
            whenModal<QMessageBox>(
                [&boxText](QMessageBox *box) {
                boxText = box->windowTitle() + u": "_s + box->text();
                box->accept();
                },
                &answered);
        }
        importAndWait(path);
        QCOMPARE(eventCount(), 0);
        if (message.isEmpty()) {
            QVERIFY(answered);
            QCOMPARE(boxText, u"Import failed: Couldn't read \"%1\"."_s.arg(path));
        } else {
            QCOMPARE(status(), message);
        }
    }

    void undoTakesBackTheNewestEntry()
    {
        m_window->quickAddFromCommand(u"Standup tomorrow 9am"_s);
        const Event before = state()->events()->search(u"Standup"_s, 1).value(0);
        QVERIFY(!before.id.isEmpty());
        const Event full = *state()->events()->getById(before.id);
        QVERIFY(!m_window->undoAction()->isEnabled());

        QVERIFY(state()->events()->remove(full.id));
        AppState *s = state();
        state()->undoStack()->push({u"Deleted \"Standup\""_s, [s, full] { s->events()->restore(full); }});
        QVERIFY(m_window->undoAction()->isEnabled());

        m_window->undoAction()->trigger();
        QCOMPARE(status(), u"Undid: Deleted \"Standup\""_s);
        QVERIFY(!state()->events()->getById(full.id)->deleted_at);
        QVERIFY(!m_window->undoAction()->isEnabled());
    }

    void sampleDataLoadsAndClears()
    {
        m_window->loadSampleDataAction()->trigger();
        QCOMPARE(status(), u"Loaded 30 sample row(s)."_s);
        QListWidget *list = m_window->agenda()->list();
        QTRY_VERIFY(!list->findItems(u"Morning run"_s, Qt::MatchContains).isEmpty());

        // "No" keeps everything.
        whenModal<QMessageBox>([](QMessageBox *box) { box->button(QMessageBox::No)->click(); });
        m_window->clearSampleDataAction()->trigger();
        QCOMPARE(status(), u"Loaded 30 sample row(s)."_s);
        QVERIFY(eventCount(u"sample-cal-work"_s) > 0);

        bool noByDefault = false;
        whenModal<QMessageBox>([&noByDefault](QMessageBox *box) {
            noByDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(QMessageBox::Yes)->click();
        });
        m_window->clearSampleDataAction()->trigger();
        QVERIFY(noByDefault);
        QCOMPARE(status(), u"Removed 31 sample row(s)."_s);
        QVERIFY(!state()->calendars()->getById(u"sample-cal-work"_s));
        QTRY_VERIFY(list->findItems(u"Morning run"_s, Qt::MatchContains).isEmpty());
    }

    void closingHidesToTheTrayOnlyWhenThereIsOne_data()
    {
        QTest::addColumn<bool>("withTray");
        QTest::addColumn<bool>("closeToTray");
        QTest::addColumn<bool>("quitting");
        QTest::addColumn<bool>("hidden"); // close event ignored, window hidden

        QTest::newRow("no tray icon -> closes") << false << true << false << false;
        QTest::newRow("visible tray, preference on -> hides") << true << true << false << true;
        QTest::newRow("visible tray, preference off -> closes") << true << false << false << false;
        QTest::newRow("visible tray while quitting -> closes") << true << true << true << false;
    }
    void closingHidesToTheTrayOnlyWhenThereIsOne()
    {
        QFETCH(bool, withTray);
        QFETCH(bool, closeToTray);
        QFETCH(bool, quitting);
        QFETCH(bool, hidden);
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::blue);
        QSystemTrayIcon tray{QIcon(pixmap)};
        if (withTray) {
            tray.show();
            if (!tray.isVisible())
                QSKIP("This platform keeps a tray icon hidden");
            m_window->setTrayIcon(&tray);
        }
        state()->preferences()->setBool(u"ui/closeToTray"_s, closeToTray);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        if (quitting)
            m_window->quitApplication(); // closes all windows itself
        else
            m_window->close();
        QVERIFY(!m_window->isVisible());
        QCloseEvent event;
        QApplication::sendEvent(m_window.get(), &event);
        QCOMPARE(!event.isAccepted(), hidden);
    }

    void focusOnEventShowsItsDateAndSelectsIt()
    {
        importAndWait(writeFile(m_files, u"two.ics"_s, kTwoEvents));
        const Event weekly = *state()->events()->getByUid(u"import-2"_s, kPersonal);
        const QDate occurrence(2030, 1, 20);
        m_window->focusOnEvent(weekly.id, occurrence);
        QCOMPARE(state()->currentDate(), occurrence);
        QCOMPARE(state()->selectedEventId(), weekly.id);
        QVERIFY(m_window->isVisible());
        QListWidgetItem *current = m_window->agenda()->list()->currentItem();
        QVERIFY(current);
        QCOMPARE(current->data(Qt::UserRole).toString(), weekly.id);

        m_window->showToday();
        QCOMPARE(state()->currentDate(), QDate::currentDate());
        QCOMPARE(state()->selectedEventId(), weekly.id);
    }

    // The test reaches no notification service and has no tray: a due
    // reminder stays unacknowledged, and the status bar says why it was not
    // shown until something could show it.
    void remindersThatCannotBeShownAreSaid()
    {
        NotificationService notifications(state(), nullptr);
        const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(300);
        // Its two reminders, an hour and 15 minutes ahead, are both due.
        QVERIFY(state()->events()->insert(testEvent(kPersonal, u"Dentist"_s, start, start.addSecs(1800))));
        m_window->setNotificationService(&notifications);
        auto *warning = m_window->statusBar()->findChild<QLabel *>(u"reminderWarning"_s);
        QVERIFY(warning && warning->isHidden());

        QCOMPARE(notifications.poll().size(), 2);
        QVERIFY(!warning->isHidden());
        QCOMPARE(warning->text(), u"Reminders can't be shown: the desktop has no notification service and no tray."_s);
        QCOMPARE(notifications.poll().size(), 2); // still due, still unacknowledged
        m_window->setNotificationService(nullptr);
    }

    void newEventWithoutCalendarsSaysSo()
    {
        removeAllCalendars();
        QString title;
        whenModal<QMessageBox>([&title](QMessageBox *box) {
            title = box->windowTitle();
            box->accept();
        });
        m_window->openNewEventDialog();
        QCOMPARE(title, u"No calendars"_s);
    }

    // A CalDAV account whose server is gone: the run ends, reported in the
    // status bar, and the busy count is back to zero.
    void syncNowReportsAFailedCalDavRun()
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        Account account;
        account.id = u"dav"_s;
        account.name = u"Gone"_s;
        account.type = u"caldav"_s;
        account.server_url = u"http://127.0.0.1:9/dav/"_s;
        account.username = u"alice"_s;
        account.created_at = account.updated_at = now;
        QVERIFY(state()->accounts()->insert(account));
        Calendar calendar;
        calendar.id = u"dav-home"_s;
        calendar.account_id = account.id;
        calendar.url = u"http://127.0.0.1:9/dav/home/"_s;
        calendar.name = u"Home"_s;
        calendar.sync_enabled = true;
        calendar.created_at = calendar.updated_at = now;
        QVERIFY(state()->calendars()->insert(calendar));

        QSignalSpy busy(state(), &AppState::syncBusyChanged);
        m_window->syncNow();
        QTRY_COMPARE(busy.size(), 2);
        QCOMPARE(state()->syncBusyCount(), 0);
        QVERIFY(state()->lastSyncErrored());
        QCOMPARE(state()->lastSyncErrorCalendarId(), u"dav-home"_s);
        QVERIFY(!status().isEmpty());
        QCOMPARE(status(), state()->lastSyncErrorMessage());
    }

    void preferencesAreStoredOnOk_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<bool>("change");
        QTest::newRow("OK stores") << true << true;
        QTest::newRow("Cancel stores nothing") << false << true;
        QTest::newRow("OK without a change stores nothing") << true << false;
    }
    void preferencesAreStoredOnOk()
    {
        QFETCH(bool, accept);
        QFETCH(bool, change);
        whenModal<PreferencesDialog>([accept, change](PreferencesDialog *dialog) {
            if (change) {
                dialog->themeBox()->setCurrentIndex(dialog->themeBox()->findData(u"dark"_s));
                dialog->setAccent(u"#aa3377"_s);
                dialog->startMinimizedBox()->setChecked(true);
                dialog->closeToTrayBox()->setChecked(false);
            }
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        });
        m_window->openPreferences();
        PreferencesRepository *prefs = state()->preferences();
        const bool stored = accept && change;
        QCOMPARE(prefs->getString(u"ui/theme"_s, u"system"_s), stored ? u"dark"_s : u"system"_s);
        QCOMPARE(prefs->getString(u"ui/accentColor"_s, QString()), stored ? u"#aa3377"_s : QString());
        QCOMPARE(prefs->getBool(u"ui/startMinimized"_s, false), stored);
        QCOMPARE(prefs->getBool(u"ui/closeToTray"_s, true), !stored);
        QCOMPARE(prefs->get(u"ui/closeToTray"_s).has_value(), stored);
        QCOMPARE(state()->themeManager()->mode(), stored ? u"dark"_s : u"system"_s);
    }

    // Start at login that cannot be set up is said, not passed over.
    void startAtLoginThatFailsIsShown()
    {
        const QString blocker = writeFile(m_files, u"not-a-folder"_s, "x");
        qputenv("XDG_CONFIG_HOME", (blocker + u"/config"_s).toUtf8());
        QString box;
        whenModal<PreferencesDialog>([](PreferencesDialog *dialog) {
            dialog->startAtLoginBox()->setChecked(true);
            QTimer::singleShot(0, dialog, [dialog] { dialog->accept(); });
        });
        whenModal<QMessageBox>([&box](QMessageBox *message) {
            box = message->windowTitle() + u": "_s + message->text();
            message->accept();
        });
        m_window->openPreferences();
        qputenv("XDG_CONFIG_HOME", m_files.filePath(u"config"_s).toUtf8());
        QCOMPARE(box, u"Start at login: The start at login setting could not be changed."_s);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
