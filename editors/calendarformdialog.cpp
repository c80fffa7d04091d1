#include "calendarformdialog.h"

#include "accountrepository.h"
#include "appstate.h"
#include "caldavclient.h"
#include "caldavparse.h"
#include "caldavpropstat.h"
#include "caldavxml.h"
#include "calendarrepository.h"
#include "canonicalcalendarkey.h"
#include "dialogparts.h"
#include "environment.h"
#include "eventwrites.h"
#include "recordnames.h"
#include "theme.h"
#include "tokenstore.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kFallbackColor = u"#4285F4"_s;
const QString kLocalAccountId = u"personal-local-account"_s;

QString withoutTrailingSlash(QString path)
{
    if (path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// A multistatus answer to the PROPFIND of `url` that lists it as a calendar
// collection. A server may answer 207 for a collection that is missing (its
// response carries a 404) or that is not a calendar.
bool listsCalendar(const QByteArray &body, const QUrl &url)
{
    const QString path = withoutTrailingSlash(url.path(QUrl::FullyDecoded));
    const QList<CalDavParse::DiscoveredCalendar> listed = CalDavParse::parseCalendarList(body, url);
    return std::any_of(listed.cbegin(), listed.cend(), [&path](const CalDavParse::DiscoveredCalendar &calendar) {
        return withoutTrailingSlash(QUrl(calendar.href).path(QUrl::FullyDecoded)) == path;
    });
}

} // namespace

CalendarFormDialog::CalendarFormDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_mode(Mode::Device)
{
    init(tr("Add Calendar"));
}

CalendarFormDialog::CalendarFormDialog(AppState *state, const Account &account, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_mode(Mode::Server)
    , m_account(account)
{
    init(tr("Add Calendar to %1").arg(account.name));
}

CalendarFormDialog::CalendarFormDialog(AppState *state, const Calendar &calendar, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_mode(Mode::Edit)
    , m_calendar(calendar)
    , m_color(calendar.color)
{
    init(tr("Edit Calendar"));
    m_name->setText(calendar.name);
}

void CalendarFormDialog::init(const QString &title)
{
    setWindowTitle(title);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    if (m_mode == Mode::Server) {
        auto *help = new QLabel(tr("Create a new calendar on the CalDAV server. The server must allow MKCALENDAR "
                                   "for your user; if it refuses, the calendar will not be created."),
                                this);
        help->setWordWrap(true);
        layout->addWidget(help);
    }
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFormAlignment(Qt::AlignTop);
    m_name = new QLineEdit(this);
    m_name->setObjectName(u"name"_s);
    m_name->setPlaceholderText(tr("e.g. Personal, Work, Family"));
    form->addRow(tr("&Name:"), m_name);
    m_colorButton = new QPushButton(this);
    m_colorButton->setObjectName(u"color"_s);
    m_colorButton->setMinimumWidth(120);
    connect(m_colorButton, &QPushButton::clicked, this, &CalendarFormDialog::pickColor);
    form->addRow(tr("&Color:"), m_colorButton);
    layout->addLayout(form);

    m_status = new QLabel(this);
    m_status->setObjectName(u"status"_s);
    m_status->setWordWrap(true);
    m_status->hide();
    layout->addWidget(m_status);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(m_mode == Mode::Edit ? tr("Save") : tr("Create"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    for (QAbstractButton *button : m_buttons->buttons())
        button->setIcon(QIcon());
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CalendarFormDialog::save);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CalendarFormDialog::reject);
    layout->addWidget(m_buttons);

    updateColorButton();
    resize(440, sizeHint().height());
    m_name->setFocus();
}

void CalendarFormDialog::setChosenColor(const QString &color)
{
    // The stored colour picked again keeps the form it was stored in (a
    // server's "#FF2968"): there is no change to write or to send.
    const QColor chosen(color);
    m_color = m_calendar && chosen.isValid() && chosen == QColor(m_calendar->color) ? m_calendar->color : color;
    updateColorButton();
}

void CalendarFormDialog::updateColorButton()
{
    QColor color(m_color);
    if (!color.isValid())
        color = QColor(kFallbackColor);
    const QString name = color.name();
    m_colorButton->setText(name.toUpper());
    m_colorButton->setStyleSheet(
        u"QPushButton { background: %1; color: %2; border: 1px solid #888; padding: 6px 12px; border-radius: 4px; }"_s
            .arg(name, Theme::textOn(color) == Qt::white ? u"#fff"_s : u"#000"_s));
}

void CalendarFormDialog::pickColor()
{
    const QColor chosen = QColorDialog::getColor(QColor(m_color), this, tr("Pick a calendar color"));
    if (!chosen.isValid())
        return;
    setChosenColor(chosen.name().toLower());
}

void CalendarFormDialog::setBusy(bool busy, const QString &message)
{
    m_busy = busy;
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!busy);
    m_name->setEnabled(!busy);
    m_colorButton->setEnabled(!busy);
    m_status->setText(message);
    m_status->setVisible(!message.isEmpty());
    DialogParts::fitHeight(this);
}

// Cancel, Escape and the window's close button end a wait for a server that
// does not answer: the client and its request go with it.
void CalendarFormDialog::reject()
{
    if (m_busy) {
        delete m_client;
        setBusy(false);
    }
    QDialog::reject();
}

QString CalendarFormDialog::ensureLocalAccount()
{
    AccountRepository *accounts = m_state->accounts();
    if (accounts->getById(kLocalAccountId))
        return kLocalAccountId;
    Account account;
    account.id = kLocalAccountId;
    account.name = u"On This Device"_s;
    account.type = AccountType::Quillmarten;
    account.sync_interval_minutes = 15;
    account.enabled = true;
    account.color = kFallbackColor;
    account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
    return accounts->insert(account) ? kLocalAccountId : QString();
}

QString CalendarFormDialog::loadCalDavPassword(const QString &accountId) const
{
    auto store = TolmAccount::createTokenStore(appIdentifier());
    if (!store)
        return QString();
    return store->load(u"caldav-password-"_s + accountId).value_or(QString());
}

QString CalendarFormDialog::passwordOrWarn(const QString &accountId)
{
    const QString password = loadCalDavPassword(accountId);
    if (password.isEmpty()) {
        QMessageBox::critical(this, tr("Missing password"),
                              tr("No saved password for this account. Edit the account first to re-enter "
                                 "your credentials."));
    }
    return password;
}

QUrl CalendarFormDialog::parentCollection(const QUrl &url)
{
    QString path = url.path(QUrl::FullyDecoded);
    if (path.endsWith(u'/'))
        path.chop(1);
    path.truncate(path.lastIndexOf(u'/') + 1);
    QUrl parent = url;
    parent.setPath(path, QUrl::DecodedMode);
    return parent;
}

QUrl CalendarFormDialog::newCalendarUrl(const Account &account) const
{
    QString base = account.calendar_home_set;
    if (base.isEmpty()) {
        for (const Calendar &calendar : m_state->calendars()->getByAccount(account.id)) {
            const QUrl url(calendar.url);
            if (url.isValid() && !url.isRelative()) {
                base = parentCollection(url).toString();
                break;
            }
        }
    }
    if (base.isEmpty())
        base = account.server_url;
    QUrl url(base);
    QString path = url.path(QUrl::FullyDecoded);
    if (!path.endsWith(u'/'))
        path += u'/';
    url.setPath(path + EventWrites::newId() + u'/', QUrl::DecodedMode);
    return url;
}

bool CalendarFormDialog::isFirstCalendar() const
{
    return m_state->calendars()->getAll().isEmpty();
}

CalDavClient *CalendarFormDialog::makeClient(const Account &account, const QString &password)
{
    auto *client = new CalDavClient(this);
    m_client = client;
    client->setCredentials(account.username, password);
    if (!account.trusted_cert_sha256.isEmpty())
        client->setTrustedCertificateSha256(account.trusted_cert_sha256);
    return client;
}

void CalendarFormDialog::save()
{
    if (m_busy)
        return;
    // A name left as it was keeps its stored form, blanks and all.
    const bool nameKept = m_calendar && m_name->text() == m_calendar->name;
    const QString name = nameKept ? m_calendar->name : m_name->text().trimmed();
    if (name.trimmed().isEmpty()) {
        QMessageBox::warning(this, tr("Name required"), tr("Please enter a name for the calendar."));
        m_name->setFocus();
        return;
    }
    switch (m_mode) {
    case Mode::Server: createOnServer(name); return;
    case Mode::Edit: {
        const std::optional<Account> account = m_state->accounts()->getById(m_calendar->account_id);
        const bool changed = name != m_calendar->name || m_color != m_calendar->color;
        if (account && account->type == AccountType::CalDav && changed) {
            editOnServer(name);
            return;
        }
        if (!changed || saveLocally(name))
            accept();
        else
            QMessageBox::critical(this, tr("Database Error"), tr("Could not save the calendar."));
        return;
    }
    case Mode::Device: insertDeviceCalendar(name); return;
    }
}

bool CalendarFormDialog::saveLocally(const QString &name)
{
    // What the user left alone stays as a sync may have stored it meanwhile.
    const std::optional<Calendar> now = m_state->calendars()->getById(m_calendar->id);
    if (!now)
        return false;
    return m_state->calendars()->setNameAndColor(m_calendar->id, name == m_calendar->name ? now->name : name,
                                                 m_color == m_calendar->color ? now->color : m_color);
}

void CalendarFormDialog::insertDeviceCalendar(const QString &name)
{
    const QString accountId = ensureLocalAccount();
    if (accountId.isEmpty()) {
        QMessageBox::critical(this, tr("Database Error"), tr("Could not create the local account row."));
        return;
    }
    Calendar calendar;
    calendar.id = EventWrites::newId();
    calendar.account_id = accountId;
    calendar.url = u"local://calendar/"_s + calendar.id;
    calendar.name = name;
    calendar.color = m_color;
    calendar.timezone = u"UTC"_s;
    calendar.is_visible = true;
    calendar.is_default = isFirstCalendar();
    calendar.sync_enabled = false;
    calendar.canonical_key = canonicalCalendarKey(AccountType::Quillmarten, calendar.url).value_or(QString());
    calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
    if (m_state->calendars()->insert(calendar))
        accept();
    else
        QMessageBox::critical(this, tr("Database Error"), tr("Could not save the calendar."));
}

void CalendarFormDialog::createOnServer(const QString &name)
{
    const QString password = passwordOrWarn(m_account->id);
    if (password.isEmpty())
        return;
    const QUrl url = newCalendarUrl(*m_account);
    CalDavClient *client = makeClient(*m_account, password);
    setBusy(true, tr("Creating calendar on server…"));
    client->mkcalendar(url, CalDavXml::mkcalendarBody(name, m_color, QString()),
                       [this, client, url, name](const CalDavClient::Response &r) {
        if (!r.error.isEmpty()) {
            setBusy(false, tr("Network error: %1").arg(r.error));
            client->deleteLater();
        } else if (r.status == 201 || r.status == 207) {
            checkCreated(client, url, name);
        } else {
            setBusy(false, createRefusedText(r.status));
            client->deleteLater();
        }
    });
}

QString CalendarFormDialog::createRefusedText(int status)
{
    switch (status) {
    case 401:
    case 403:
    case 405:
        return tr("Server refused (HTTP %1). Your account may not have permission to create calendars on this "
                  "server.")
            .arg(status);
    case 409:
        return tr("Server refused (HTTP 409): the folder that should hold the new calendar does not exist on the "
                  "server.");
    case 507: return tr("Server refused (HTTP 507): the server has no storage left for a new calendar.");
    default: return tr("Server refused (HTTP %1).").arg(status);
    }
}

void CalendarFormDialog::checkCreated(CalDavClient *client, const QUrl &url, const QString &name)
{
    client->propfind(url, CalDavXml::calendarListPropfindBody(), 0,
                     [this, client, url, name](const CalDavClient::Response &r) {
        client->deleteLater();
        if (r.status != 200 && !(r.status == 207 && listsCalendar(r.body, url))) {
            setBusy(false,
                    tr("Server returned success but the new calendar isn't reachable. This server may not "
                       "support MKCALENDAR."));
            return;
        }
        const QDateTime now = QDateTime::currentDateTimeUtc();
        Account account = m_state->accounts()->getById(m_account->id).value_or(*m_account);
        if (account.calendar_home_set.isEmpty()) {
            account.calendar_home_set = parentCollection(url).toString();
            account.updated_at = now;
            if (m_state->accounts()->update(account))
                m_account = account;
        }
        Calendar calendar;
        calendar.id = EventWrites::newId();
        calendar.account_id = account.id;
        calendar.url = url.toString();
        calendar.name = name;
        calendar.color = m_color;
        calendar.timezone = u"UTC"_s;
        calendar.is_visible = true;
        calendar.is_default = isFirstCalendar();
        calendar.supported_components = uR"(["VEVENT","VTODO"])"_s;
        calendar.sync_enabled = true;
        // As discovery keys the calendars it finds, so that this one is
        // recognised on every device.
        calendar.canonical_key = canonicalCalendarKey(account.type, calendar.url).value_or(QString());
        calendar.created_at = calendar.updated_at = now;
        if (!m_state->calendars()->insert(calendar)) {
            setBusy(false, tr("Created on server, but couldn't save locally. Run sync to recover."));
            return;
        }
        setBusy(false);
        accept();
    });
}

void CalendarFormDialog::editOnServer(const QString &name)
{
    const std::optional<Account> account = m_state->accounts()->getById(m_calendar->account_id);
    if (!account) {
        QMessageBox::critical(this, tr("Account missing"), tr("Could not find the parent account."));
        return;
    }
    const QString password = passwordOrWarn(account->id);
    if (password.isEmpty())
        return;
    CalDavClient *client = makeClient(*account, password);
    setBusy(true, tr("Saving changes to server…"));
    const QByteArray body = CalDavXml::proppatchCalendarBody(name != m_calendar->name ? name : QString(),
                                                             m_color != m_calendar->color ? m_color : QString(),
                                                             QString());
    client->proppatch(QUrl(m_calendar->url), body, [this, client, name](const CalDavClient::Response &r) {
        client->deleteLater();
        if (!r.error.isEmpty()) {
            setBusy(false, tr("Network error: %1").arg(r.error));
            return;
        }
        // A multistatus answer may refuse some of the properties.
        int refused = 0;
        if (r.status == 207)
            refused = CalDavPropstat::firstRefusedStatus(r.body).value_or(0);
        else if (r.status != 200)
            refused = r.status;
        if (refused != 0) {
            setBusy(false,
                    tr("Server refused (HTTP %1). You may not have permission to rename or recolour this "
                       "calendar.")
                        .arg(refused));
            return;
        }
        if (!saveLocally(name)) {
            setBusy(false, tr("Saved on server, but couldn't update locally."));
            return;
        }
        setBusy(false);
        accept();
    });
}
