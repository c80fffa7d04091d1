#include "mainwindow.h"
#include "timeutil.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventdetailspopover.h"
#include "eventformdialog.h"
#include "environment.h"
#include "eventrepository.h"
#include "icsimport.h"
#include "notificationservice.h"
#include "preferencesdialog.h"
#include "preferencesrepository.h"
#include "quickadd.h"
#include "recurrence.h"
#include "sampledata.h"
#include "synccoordinator.h"
#include "taskformdialog.h"
#include "tokenstore.h"
#include "undostack.h"
#include "weekagenda.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QSystemTrayIcon>

using namespace Qt::StringLiterals;

namespace {

SampleDataStores sampleStores(const AppState *state)
{
    return {state->database(), state->accounts(), state->calendars(), state->events(), state->tasks()};
}

} // namespace

MainWindow::MainWindow(AppState *state, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_agenda(new WeekAgenda(state, this))
    , m_calDavSync(new SyncCoordinator(state, TolmAccount::createTokenStore(appIdentifier()), this))
{
    setWindowTitle(tr("Quillmarten Calendar"));
    setCentralWidget(m_agenda);
    statusBar();
    buildMenus();
    resize(900, 640);

    connect(state->undoStack(), &UndoStack::changed, this,
            [this] { m_undoAction->setEnabled(m_state->undoStack()->canUndo()); });
    connect(state->undoStack(), &UndoStack::undone, this,
            [this](const QString &label) { showStatus(tr("Undid: %1").arg(label), 4000); });

    // The CalDAV accounts: a full sync 3 s from now, the interval tick and
    // the push after local changes.
    connect(m_calDavSync, &SyncCoordinator::statusMessage, this,
            [this](const QString &text) { showStatus(text, 4000); });
    connect(m_calDavSync, &SyncCoordinator::untrustedCertEncountered, this,
            [this](const QString &, const UntrustedCertInfo &info) {
                showStatus(tr("%1 presented a certificate that is not trusted; its calendars were not synced.")
                               .arg(info.host),
                           8000);
            });
    connect(state, &AppState::syncNowRequested, this, &MainWindow::syncNow);
    m_calDavSync->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *newEvent = file->addAction(tr("New &Event…"), this, &MainWindow::openNewEventDialog);
    file->addAction(tr("New &Task…"), this, &MainWindow::openNewTaskDialog)->setObjectName(QStringLiteral("newTask"));
    newEvent->setShortcut(QKeySequence::New);
    m_quickAddAction = file->addAction(tr("&Quick Add…"), this, &MainWindow::openQuickAdd);
    m_quickAddAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    m_importAction = file->addAction(tr("&Import .ics…"), this, &MainWindow::chooseIcsFile);
    m_importAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    file->addSeparator();
    QAction *preferences = file->addAction(tr("&Preferences…"), this, &MainWindow::openPreferences);
    preferences->setShortcut(QKeySequence::Preferences);
    preferences->setMenuRole(QAction::PreferencesRole);
    file->addSeparator();
    QAction *quit = file->addAction(tr("&Quit"), this, &MainWindow::quitApplication);
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    m_undoAction = edit->addAction(tr("&Undo"), this, &MainWindow::undo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    // Reaches the stack from any window of the application.
    m_undoAction->setShortcutContext(Qt::ApplicationShortcut);
    m_undoAction->setEnabled(false);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    QAction *today = view->addAction(tr("&Today"), this, &MainWindow::showToday);
    today->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    QMenu *sync = menuBar()->addMenu(tr("&Sync"));
    QAction *syncNowAction = sync->addAction(tr("Sync &Now"), this, &MainWindow::syncNow);
    syncNowAction->setShortcut(QKeySequence::Refresh);

    m_testNotificationAction = new QAction(tr("Send Test &Notification"), this);
    m_testNotificationAction->setStatusTip(tr("Fire a sample reminder toast to verify your desktop notification setup."));
    m_testNotificationAction->setEnabled(false);
    connect(m_testNotificationAction, &QAction::triggered, this, &MainWindow::sendTestNotification);

    QMenu *developer = menuBar()->addMenu(tr("&Developer"));
    m_loadSampleAction = developer->addAction(tr("Load Sample &Data"), this, &MainWindow::loadSampleData);
    m_clearSampleAction = developer->addAction(tr("&Clear Sample Data"), this, &MainWindow::clearSampleData);
    developer->addSeparator();
    developer->addAction(m_testNotificationAction);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(m_testNotificationAction);
}

void MainWindow::setTrayIcon(QSystemTrayIcon *trayIcon)
{
    m_trayIcon = trayIcon;
}

QSystemTrayIcon *MainWindow::trayIcon() const
{
    return m_trayIcon;
}

void MainWindow::setNotificationService(NotificationService *service)
{
    m_notifications = service;
    m_testNotificationAction->setEnabled(service != nullptr);
}

NotificationService *MainWindow::notificationService() const
{
    return m_notifications;
}

void MainWindow::reportAdded(const QString &eventId)
{
    const std::optional<Event> event = m_state->events()->getById(eventId);
    showStatus(tr("Added: %1").arg(event ? event->title : QString()), 4000);
}

void MainWindow::showStatus(const QString &message, int timeoutMs)
{
    statusBar()->showMessage(message, timeoutMs);
}

// --- Operations reached from outside -----------------------------------------

void MainWindow::focusWindow()
{
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void MainWindow::showToday()
{
    focusWindow();
    m_state->setCurrentDate(QDate::currentDate());
}

void MainWindow::openNewEventDialog()
{
    if (m_state->calendars()->getAll().isEmpty()) {
        QMessageBox::information(this, tr("No calendars"),
                                 tr("There is no calendar to add an event to."));
        return;
    }
    EventFormDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::openEventEditor(const Event &event)
{
    EventFormDialog dialog(m_state, event, this);
    dialog.exec();
}

void MainWindow::quickAddFromCommand(const QString &text)
{
    if (m_state->calendars()->getAll().isEmpty()) {
        showStatus(tr("Quick-add ignored: no calendars configured."), 4000);
        return;
    }
    const QString id = QuickAdd::addFromText(m_state, text, QString());
    if (id.isEmpty()) {
        showStatus(tr("Quick-add couldn't parse: \"%1\"").arg(text), 4000);
        return;
    }
    reportAdded(id);
}

void MainWindow::importIcsFromCommand(const QString &path)
{
    const QString calendarId = QuickAdd::resolveCalendarId(m_state, QString());
    if (calendarId.isEmpty()) {
        showStatus(tr("Import ignored: no calendars configured."), 4000);
        return;
    }
    const IcsImport::Result result = IcsImport::importFile(m_state->events(), m_state->database(), path, calendarId);
    if (!result.readable) {
        QMessageBox::warning(this, tr("Import failed"), tr("Couldn't read \"%1\".").arg(QDir::toNativeSeparators(path)));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    const int imported = result.added + result.updated;
    if (imported == 0 && result.failed == 0)
        showStatus(tr("No events found in %1").arg(name), 4000);
    else if (result.failed == 0)
        showStatus(tr("Imported %n event(s) from %1", nullptr, imported).arg(name), 4000);
    else
        showStatus(tr("Imported %n event(s) from %1; %2 could not be stored", nullptr, imported)
                       .arg(name, QString::number(result.failed)),
                   6000);
}

void MainWindow::syncNow()
{
    m_calDavSync->syncNow();
}

void MainWindow::focusOnEvent(const QString &eventId, const QDate &date)
{
    if (date.isValid())
        m_state->setCurrentDate(date);
    if (!eventId.isEmpty())
        m_state->setSelectedEventId(eventId);
    focusWindow();
    if (eventId.isEmpty())
        return;
    std::optional<Event> event = m_state->events()->getById(eventId);
    if (!event || event->deleted_at)
        return;
    // A series is shown as its occurrence on that date.
    if (!event->recurrence_rule.isEmpty() && date.isValid()) {
        const QDateTime from = TimeUtil::inZone(date, QTime(0, 0), QTimeZone());
        const QDateTime to = from.addDays(1);
        const QList<Event> day =
            Recurrence::expandEvents(m_state->events()->getInRange(from, to, {event->calendar_id}), from, to);
        for (const Event &occurrence : day) {
            if (occurrence.id == event->id || (occurrence.isOverride() && occurrence.master_event_uid == event->uid)) {
                event = occurrence;
                break;
            }
        }
    }
    auto *details = new EventDetailsPopover(m_state, *event, this);
    connect(details, &EventDetailsPopover::editRequested, this, &MainWindow::openEventEditor);
    details->showCentredOn(geometry());
}

void MainWindow::openPreferences()
{
    PreferencesDialog dialog(m_state, this);
    dialog.exec();
}

void MainWindow::quitApplication()
{
    m_quitting = true;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const bool toTray = !m_quitting && m_trayIcon && m_trayIcon->isVisible()
        && m_state->preferences()->getBool(u"ui/closeToTray"_s, true);
    if (toTray) {
        hide();
        event->ignore();
        return;
    }
    event->accept();
}

// --- Menu actions ---------------------------------------------------------------

void MainWindow::openQuickAdd()
{
    bool ok = false;
    const QString text = QInputDialog::getText(this, tr("Quick Add"), tr("Describe the event, e.g. \"Lunch with Sam tomorrow 12:30\":"),
                                               QLineEdit::Normal, QString(), &ok);
    if (!ok || text.trimmed().isEmpty())
        return;
    const QString id = QuickAdd::addFromText(m_state, text, QString());
    if (id.isEmpty()) {
        QMessageBox::warning(this, tr("Quick Add"), tr("Couldn't save event"));
        return;
    }
    reportAdded(id);
}

void MainWindow::chooseIcsFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Import .ics"), QString(),
                                                      tr("iCalendar files (*.ics);;All files (*)"));
    if (!path.isEmpty())
        importIcsFromCommand(path);
}

void MainWindow::undo()
{
    if (m_state->undoStack()->canUndo())
        m_state->undoStack()->undo();
}

void MainWindow::loadSampleData()
{
    const int added = ::loadSampleData(sampleStores(m_state));
    showStatus(tr("Loaded %n sample row(s).", nullptr, added), 4000);
}

void MainWindow::clearSampleData()
{
    const auto answer = QMessageBox::question(this, tr("Clear sample data?"),
                                              tr("Remove the sample calendars, events, and tasks? Your real data is untouched."),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    const int removed = removeSampleData(sampleStores(m_state));
    showStatus(tr("Removed %n sample row(s).", nullptr, removed), 4000);
}

void MainWindow::sendTestNotification()
{
    if (!m_notifications)
        return;
    m_notifications->showTestReminder();
    showStatus(tr("Test notification fired"), 3000);
}

void MainWindow::openNewTaskDialog()
{
    if (m_state->calendars()->getAll().isEmpty()) {
        QMessageBox::information(this, tr("No calendars"), tr("Create a calendar first."));
        return;
    }
    TaskFormDialog dialog(m_state, this);
    dialog.exec();
}
