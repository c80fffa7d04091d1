#pragma once

#include "account.h"
#include "calendar.h"

#include <QDialog>
#include <QPointer>

#include <optional>

class AppState;
class CalDavClient;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Creates a calendar on this device or on a CalDAV server, or renames and
// recolours one. Server changes are made there first; nothing is written
// locally before the server answered with success. While a request runs the
// form cannot be edited; Cancel, Escape or closing it abandons the request
// (a server that already acted keeps what it did; the next sync finds it).
class CalendarFormDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Device, Server, Edit };

    CalendarFormDialog(AppState *state, QWidget *parent = nullptr);
    CalendarFormDialog(AppState *state, const Account &account, QWidget *parent = nullptr);
    CalendarFormDialog(AppState *state, const Calendar &calendar, QWidget *parent = nullptr);

    bool isBusy() const { return m_busy; }
    QString chosenColor() const { return m_color; }
    void setChosenColor(const QString &color);

    // The URL of a new collection of `account`: under its calendar home, else
    // beside its first calendar, else under its server URL.
    QUrl newCalendarUrl(const Account &account) const;
    // The parent collection of a collection URL ("/a/b/" -> "/a/").
    static QUrl parentCollection(const QUrl &url);

    // What the status line says when a server turns MKCALENDAR down with
    // `status`.
    static QString createRefusedText(int status);

    void reject() override;

private:
    void init(const QString &title);
    void save();
    void pickColor();
    void updateColorButton();
    void setBusy(bool busy, const QString &message = QString());
    QString ensureLocalAccount();
    QString loadCalDavPassword(const QString &accountId) const;
    // The password, or a message box saying it is missing (and empty).
    QString passwordOrWarn(const QString &accountId);
    CalDavClient *makeClient(const Account &account, const QString &password);
    bool saveLocally(const QString &name);
    void insertDeviceCalendar(const QString &name);
    void createOnServer(const QString &name);
    void checkCreated(CalDavClient *client, const QUrl &url, const QString &name);
    void editOnServer(const QString &name);
    bool isFirstCalendar() const;

    AppState *m_state;
    Mode m_mode;
    std::optional<Account> m_account;
    std::optional<Calendar> m_calendar;
    QString m_color = QStringLiteral("#4285F4");
    bool m_busy = false;
    QPointer<CalDavClient> m_client; // of the request under way

    QLineEdit *m_name = nullptr;
    QPushButton *m_colorButton = nullptr;
    QLabel *m_status = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
