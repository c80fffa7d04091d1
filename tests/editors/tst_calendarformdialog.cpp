#include "accountrepository.h"
#include "appstatefixture.h"
#include "calendarformdialog.h"
#include "calendarrepository.h"
#include "canonicalcalendarkey.h"
#include "formdriver.h"
#include "radicaleserver.h"
#include "scriptedhttpserver.h"
#include "storedrow.h"

#include <QLabel>
#include <QProcess>

using namespace Qt::StringLiterals;
using namespace FormDriver;

namespace {

const QString kAccount = u"acc-dav"_s;
const QString kPassword = u"s3cret"_s;

const QString kCreateRefused =
    u"Server refused (HTTP %1). Your account may not have permission to create calendars on this server."_s;
const QString kEditRefused =
    u"Server refused (HTTP %1). You may not have permission to rename or recolour this calendar."_s;
const QString kUnreachable =
    u"Server returned success but the new calendar isn't reachable. This server may not support MKCALENDAR."_s;

QByteArray propstat(int status)
{
    return QByteArrayLiteral("<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\"><d:response>"
                             "<d:href>/dav/alice/work/</d:href><d:propstat><d:prop><d:displayname/></d:prop>"
                             "<d:status>HTTP/1.1 200 OK</d:status></d:propstat><d:propstat><d:prop>"
                             "<x:calendar-color xmlns:x=\"http://apple.com/ns/ical/\"/></d:prop><d:status>HTTP/1.1 ")
        + QByteArray::number(status) + QByteArrayLiteral(" X</d:status></d:propstat></d:response></d:multistatus>");
}

// Name and colour of a collection as another CalDAV client reads them.
QString readBack(const QUrl &url, const QString &user, const QString &password)
{
    QProcess python;
    python.start(u"/usr/bin/python3"_s,
                 {u"-c"_s,
                  u"import sys, caldav\n"
                  "from caldav.elements import dav, ical\n"
                  "c = caldav.DAVClient(url=sys.argv[1], username=sys.argv[2], password=sys.argv[3])\n"
                  "cal = caldav.Calendar(client=c, url=sys.argv[1])\n"
                  "p = cal.get_properties([dav.DisplayName(), ical.CalendarColor()])\n"
                  "print('%s|%s' % (p.get(dav.DisplayName.tag), (p.get(ical.CalendarColor.tag) or '')[:7]))\n"_s,
                  url.toString(), user, password});
    if (!python.waitForFinished(30000))
        return u"(python did not finish)"_s;
    return QString::fromUtf8(python.readAllStandardOutput()).trimmed()
        + QString::fromUtf8(python.readAllStandardError()).trimmed();
}

// The answer to the Depth 0 PROPFIND of the new collection; "./" is the
// collection itself, whatever name the form gave it.
QByteArray collectionAnswer(const QByteArray &resourceType, int status = 200)
{
    return "<?xml version=\"1.0\"?><d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
           "<d:response><d:href>./</d:href><d:propstat><d:prop><d:resourcetype>"
        + resourceType + "</d:resourcetype></d:prop><d:status>HTTP/1.1 " + QByteArray::number(status)
        + " X</d:status></d:propstat></d:response></d:multistatus>";
}

} // namespace

// A loaded machine (the sanitizers, a parallel run) can take longer than
// QTRY's 5 s for a loopback server's answer.
constexpr int kAnswerMs = 20000;

class TestCalendarFormDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { AppStateFixture::startFresh(m_fixture, m_state); }
    void cleanup() { m_fixture.reset(); }

    void serverCreate_data()
    {
        QTest::addColumn<int>("mkcalendar");
        QTest::addColumn<int>("propfind"); // 0: not asked
        QTest::addColumn<QByteArray>("propfindBody");
        QTest::addColumn<QString>("message"); // empty: created
        const QByteArray calendar = collectionAnswer("<d:collection/><c:calendar/>");
        QTest::newRow("MKCALENDAR forbidden") << 403 << 0 << QByteArray() << kCreateRefused.arg(403);
        QTest::newRow("MKCALENDAR not allowed") << 405 << 0 << QByteArray() << kCreateRefused.arg(405);
        QTest::newRow("parent collection missing")
            << 409 << 0 << QByteArray()
            << u"Server refused (HTTP 409): the folder that should hold the new calendar does not exist on the "
               "server."_s;
        QTest::newRow("storage full") << 507 << 0 << QByteArray()
                                      << u"Server refused (HTTP 507): the server has no storage left for a new "
                                         "calendar."_s;
        QTest::newRow("server error: no guess at the cause")
            << 500 << 0 << QByteArray() << u"Server refused (HTTP 500)."_s;
        QTest::newRow("created but not found after") << 201 << 404 << QByteArray() << kUnreachable;
        QTest::newRow("created, multistatus says not found")
            << 201 << 207 << collectionAnswer(QByteArray(), 404) << kUnreachable;
        QTest::newRow("created, multistatus names no calendar")
            << 201 << 207 << collectionAnswer("<d:collection/>") << kUnreachable;
        QTest::newRow("created, multistatus empty") << 201 << 207 << QByteArray() << kUnreachable;
        QTest::newRow("created, found by multistatus") << 201 << 207 << calendar << QString();
        QTest::newRow("multistatus to MKCALENDAR, found") << 207 << 200 << QByteArray() << QString();
    }
    void serverCreate()
    {
        QFETCH(int, mkcalendar);
        QFETCH(int, propfind);
        QFETCH(QByteArray, propfindBody);
        QFETCH(QString, message);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        const Account account = addAccount(u"caldav"_s, server.url(u"/dav/alice/"_s).toString());
        server.expect("MKCALENDAR", "/dav/alice/*")
            .bodyContains("<d:displayname>Team</d:displayname>")
            .reply(mkcalendar);
        if (propfind)
            server.expect("PROPFIND", "/dav/alice/*").header("Depth", "0").reply(propfind, propfindBody);

        CalendarFormDialog form(m_state, account);
        form.setChosenColor(u"#112233"_s);
        submit(&form, u"Team"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!form.isBusy(), kAnswerMs);
        QVERIFY2(server.problems().isEmpty(), qPrintable(server.problems().join(u"; "_s)));
        const QList<Calendar> calendars = m_state->calendars()->getByAccount(kAccount);
        if (!message.isEmpty()) {
            QCOMPARE(statusText(&form), message);
            QVERIFY(form.isVisible());
            QVERIFY(find<QLineEdit>(&form, u"name"_s)->isEnabled());
            QVERIFY(calendars.isEmpty());
            return;
        }
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(calendars.size(), 1);
        const Calendar &created = calendars.first();
        const QList<ScriptedHttpServer::Request> requests = server.requests();
        QCOMPARE(requests.at(1).target, requests.at(0).target);
        QCOMPARE(created.url, server.url(QString::fromLatin1(requests.at(0).target)).toString());
        QCOMPARE(created.name, u"Team"_s);
        QCOMPARE(created.color, u"#112233"_s);
        QCOMPARE(created.supported_components, uR"(["VEVENT","VTODO"])"_s);
        QVERIFY(created.sync_enabled);
        QCOMPARE(created.canonical_key, canonicalCalendarKey(u"caldav"_s, created.url).value());
        // The device calendar came first and stays the default; the account
        // learns where its calendars live.
        QVERIFY(!created.is_default);
        QCOMPARE(m_state->accounts()->getById(kAccount)->calendar_home_set, server.url(u"/dav/alice/"_s).toString());
    }

    void cutOffAnswerIsANetworkError()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        const Account account = addAccount(u"caldav"_s, server.url(u"/dav/"_s).toString());
        server.expect("MKCALENDAR", "/dav/*").reply(201, QByteArray(200, 'x')).cutOffAfter(10);
        CalendarFormDialog form(m_state, account);
        submit(&form, u"Team"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!form.isBusy(), kAnswerMs);
        QVERIFY2(statusText(&form).startsWith(u"Network error: "_s), qPrintable(statusText(&form)));
        QVERIFY(m_state->calendars()->getByAccount(kAccount).isEmpty());
    }

    // A server that takes the request and never answers: Cancel, Escape and
    // the window's close button end the wait, and nothing is stored.
    void abandoningASilentServer_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel") << u"cancel"_s;
        QTest::newRow("Escape") << u"escape"_s;
        QTest::newRow("close button") << u"close"_s;
    }
    void abandoningASilentServer()
    {
        QFETCH(QString, how);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        const Account account = addAccount(u"caldav"_s, server.url(u"/dav/"_s).toString());
        server.expect("MKCALENDAR", "/dav/*").silent();
        CalendarFormDialog form(m_state, account);
        form.show();
        submit(&form, u"Team"_s);
        QVERIFY(form.isBusy());
        QCOMPARE(statusText(&form), u"Creating calendar on server…"_s);
        QTRY_COMPARE_WITH_TIMEOUT(server.requests().size(), 1, kAnswerMs);
        QVERIFY(!button(&form, QDialogButtonBox::Ok)->isEnabled());
        if (how == u"cancel"_s)
            button(&form, QDialogButtonBox::Cancel)->click();
        else if (how == u"escape"_s)
            QTest::keyClick(&form, Qt::Key_Escape);
        else
            form.close();
        QVERIFY(!form.isBusy());
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(m_state->calendars()->getByAccount(kAccount).isEmpty());
        QCOMPARE(server.problems(), QStringList());
    }

    void serverEdit_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message"); // empty: saved
        QTest::newRow("200 saves") << 200 << QByteArray() << QString();
        QTest::newRow("multistatus setting both saves") << 207 << propstat(200) << QString();
        QTest::newRow("multistatus refusing the colour") << 207 << propstat(403) << kEditRefused.arg(403);
        QTest::newRow("multistatus failing a dependency") << 207 << propstat(424) << kEditRefused.arg(424);
        QTest::newRow("forbidden") << 403 << QByteArray() << kEditRefused.arg(403);
    }
    void serverEdit()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        addAccount(u"caldav"_s, server.url(u"/dav/"_s).toString());
        const Calendar calendar = addCalendar(server.url(u"/dav/alice/work/"_s).toString());
        server.expect("PROPPATCH", "/dav/alice/work/")
            .bodyContains("Office")
            .bodyContains("#AABBCC")
            .reply(status, body);
        CalendarFormDialog form(m_state, calendar);
        form.setChosenColor(u"#aabbcc"_s);
        submit(&form, u"Office"_s);
        QVERIFY(form.isBusy());
        QCOMPARE(statusText(&form), u"Saving changes to server…"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!form.isBusy(), kAnswerMs);
        QVERIFY2(server.problems().isEmpty(), qPrintable(server.problems().join(u"; "_s)));
        const Calendar stored = *m_state->calendars()->getById(calendar.id);
        if (message.isEmpty()) {
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QCOMPARE(stored.name, u"Office"_s);
            QCOMPARE(stored.color, u"#aabbcc"_s);
        } else {
            QCOMPARE(statusText(&form), message);
            QCOMPARE(stored.name, calendar.name);
            QCOMPARE(stored.color, calendar.color);
        }
    }

    // Nothing goes to a server for an unchanged calendar or one of another
    // kind of account (the scripted server expects nothing).
    void localEdit_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("picked"); // the stored colour picked again, as the picker names it
        QTest::newRow("caldav, unchanged") << u"caldav"_s << u"Work"_s << QString();
        QTest::newRow("caldav, its colour picked again") << u"caldav"_s << u"Work"_s << u"#abcdef"_s;
        QTest::newRow("icloud, renamed") << u"icloud"_s << u"Office"_s << QString();
        QTest::newRow("zoho, renamed") << u"zoho"_s << u"Office"_s << QString();
    }
    void localEdit()
    {
        QFETCH(QString, type);
        QFETCH(QString, name);
        QFETCH(QString, picked);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        addAccount(type, server.url(u"/dav/"_s).toString());
        Calendar calendar = addCalendar(server.url(u"/dav/alice/work/"_s).toString());
        if (!picked.isEmpty()) {
            // As a server gives it.
            calendar.color = picked.toUpper();
            QVERIFY(m_state->calendars()->setNameAndColor(calendar.id, calendar.name, calendar.color));
        }
        CalendarFormDialog form(m_state, calendar);
        if (!picked.isEmpty())
            form.setChosenColor(picked);
        submit(&form, name);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(m_state->calendars()->getById(calendar.id)->name, name);
        QCOMPARE(m_state->calendars()->getById(calendar.id)->color, calendar.color);
        QVERIFY(server.requests().isEmpty());
    }

    // Save writes the name and colour on the row as it is then: what a sync
    // stored while the form was open stays.
    void syncStateSurvivesAnEdit_data()
    {
        QTest::addColumn<QString>("accountType");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QString>("typedName"); // empty: left alone
        QTest::addColumn<QString>("behind"); // stored by a sync while the form is open
        QTest::addColumn<QString>("name"); // afterwards
        QTest::newRow("a name with blanks, left alone")
            << u"caldav"_s << u" Work "_s << QString() << QString() << u" Work "_s;
        QTest::newRow("device calendar, renamed")
            << u"quillmarten"_s << u"Work"_s << u"Office"_s << QString() << u"Office"_s;
        QTest::newRow("server calendar, renamed there")
            << u"caldav"_s << u"Work"_s << u"Office"_s << QString() << u"Office"_s;
        QTest::newRow("renamed and recoloured by a sync, left alone")
            << u"caldav"_s << u"Work"_s << QString() << u", name = 'Team', color = '#ABCDEF'"_s << u"Team"_s;
        QTest::newRow("recoloured by a sync, renamed here")
            << u"quillmarten"_s << u"Work"_s << u"Office"_s << u", color = '#ABCDEF'"_s << u"Office"_s;
    }
    void syncStateSurvivesAnEdit()
    {
        QFETCH(QString, accountType);
        QFETCH(QString, storedName);
        QFETCH(QString, typedName);
        QFETCH(QString, behind);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        addAccount(accountType, server.url(u"/dav/"_s).toString());
        const Calendar calendar = addCalendar(server.url(u"/dav/alice/work/"_s).toString());
        if (accountType == u"caldav"_s && !typedName.isEmpty())
            server.expect("PROPPATCH", "/dav/alice/work/").bodyContains("Office").reply(200, QByteArray());
        const StoredRow row{*m_fixture, u"calendars"_s, calendar.id, {u"updated_at"_s, u"name"_s}};
        row.set(u"name = '%1', ctag = 'ctag-1'"_s.arg(storedName));
        CalendarFormDialog form(m_state, *m_state->calendars()->getById(calendar.id));
        form.show();
        row.set(u"ctag = 'ctag-2', sync_token = 'tok-2', last_sync_error = 'Timed out'"_s + behind);
        const QString before = row.text();
        if (!typedName.isEmpty())
            type(&form, u"name"_s, typedName);
        QTest::mouseClick(button(&form, QDialogButtonBox::Ok), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(form.result(), int(QDialog::Accepted), kAnswerMs);
        QCOMPARE(row.text(), before);
        QTEST(m_state->calendars()->getById(calendar.id)->name, "name");
        QVERIFY2(server.problems().isEmpty(), qPrintable(server.problems().join(u"; "_s)));
    }

    void refusedBeforeAnyRequest_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("password");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("blank name") << u"   "_s << true << u"Name required"_s
                                    << u"Please enter a name for the calendar."_s;
        QTest::newRow("no saved password")
            << u"Team"_s << false << u"Missing password"_s
            << u"No saved password for this account. Edit the account first to re-enter your credentials."_s;
    }
    void refusedBeforeAnyRequest()
    {
        QFETCH(QString, name);
        QFETCH(bool, password);
        QFETCH(QString, title);
        QFETCH(QString, text);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        const Account account = addAccount(u"caldav"_s, server.url(u"/dav/"_s).toString(), password);
        CalendarFormDialog form(m_state, account);
        ModalScript script;
        script.on(u"Add Calendar to Alice"_s, [name](QWidget *w) {
            type(w, u"name"_s, name);
            confirm(w);
        });
        script.answer(title);
        script.on(u"Add Calendar to Alice"_s, [](QWidget *w) { w->close(); });
        QCOMPARE(form.exec(), int(QDialog::Rejected));
        QCOMPARE(script.messageTexts(), QStringList(text));
        QVERIFY(server.requests().isEmpty());
    }

    void deviceCalendar()
    {
        QVERIFY(m_state->accounts()->remove(u"personal-local-account"_s) || true);
        CalendarFormDialog form(m_state);
        form.setChosenColor(u"#00aa00"_s);
        submit(&form, u"Garden"_s);
        QCOMPARE(form.result(), int(QDialog::Accepted));
        const QList<Calendar> calendars = m_state->calendars()->getByAccount(u"personal-local-account"_s);
        auto it = std::find_if(calendars.begin(), calendars.end(),
                               [](const Calendar &c) { return c.name == u"Garden"_s; });
        QVERIFY(it != calendars.end());
        QCOMPARE(it->url, u"local://calendar/"_s + it->id);
        QCOMPARE(it->canonical_key, canonicalCalendarKey(u"quillmarten"_s, it->url).value());
        QVERIFY(!it->sync_enabled);
    }

    void colorButton_data()
    {
        QTest::addColumn<QString>("color");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("ink");
        QTest::newRow("dark colour, white text") << u"#202040"_s << u"#202040"_s << u"#fff"_s;
        QTest::newRow("light colour, black text") << u"#f0e68c"_s << u"#F0E68C"_s << u"#000"_s;
        QTest::newRow("yellow, black text") << u"#ffff00"_s << u"#FFFF00"_s << u"#000"_s;
        QTest::newRow("bright green, black text") << u"#00c000"_s << u"#00C000"_s << u"#000"_s;
        QTest::newRow("violet, white text") << u"#8000ff"_s << u"#8000FF"_s << u"#fff"_s;
        QTest::newRow("unreadable colour paints the fallback") << u"nonsense"_s << u"#4285F4"_s << u"#000"_s;
    }
    void colorButton()
    {
        QFETCH(QString, color);
        QFETCH(QString, text);
        QFETCH(QString, ink);
        CalendarFormDialog form(m_state);
        form.setChosenColor(color);
        auto *button = find<QPushButton>(&form, u"color"_s);
        QCOMPARE(button->text(), text);
        QVERIFY(button->styleSheet().contains(u"color: "_s + ink + u';'));
    }

    // Radicale creates the collection, renames and recolours it; another
    // CalDAV client reads the result.
    void createAndEditOnRadicale()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        RadicaleServer radicale({u"alice"_s, kPassword, {}, {}});
        QVERIFY2(radicale.start(), qPrintable(radicale.errorString()));
        const Account account = addAccount(u"caldav"_s, radicale.url(u"/alice/"_s).toString());

        CalendarFormDialog create(m_state, account);
        create.setChosenColor(u"#336699"_s);
        submit(&create, u"Team"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!create.isBusy(), 20000);
        QCOMPARE(create.result(), int(QDialog::Accepted));
        const QList<Calendar> calendars = m_state->calendars()->getByAccount(kAccount);
        QCOMPARE(calendars.size(), 1);
        const Calendar created = calendars.first();
        QVERIFY(created.url.startsWith(radicale.url(u"/alice/"_s).toString()));
        QCOMPARE(readBack(QUrl(created.url), u"alice"_s, kPassword).toLower(), u"team|#336699"_s);

        CalendarFormDialog edit(m_state, created);
        edit.setChosenColor(u"#cc5500"_s);
        submit(&edit, u"Team Berlin"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!edit.isBusy(), 20000);
        QCOMPARE(edit.result(), int(QDialog::Accepted));
        QCOMPARE(readBack(QUrl(created.url), u"alice"_s, kPassword).toLower(), u"team berlin|#cc5500"_s);
        QCOMPARE(m_state->calendars()->getById(created.id)->name, u"Team Berlin"_s);
    }

private:
    Account addAccount(const QString &type, const QString &serverUrl, bool withPassword = true)
    {
        Account account;
        account.id = kAccount;
        account.name = u"Alice"_s;
        account.type = type;
        account.server_url = serverUrl;
        account.username = u"alice"_s;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        [&] { QVERIFY(m_state->accounts()->insert(account)); }();
        if (withPassword) {
            auto store = TolmAccount::createTokenStore(appIdentifier());
            [&] { QVERIFY(store && store->save(u"caldav-password-"_s + kAccount, kPassword)); }();
        }
        return account;
    }

    Calendar addCalendar(const QString &url)
    {
        Calendar calendar;
        calendar.id = u"cal-work"_s;
        calendar.account_id = kAccount;
        calendar.url = url;
        calendar.name = u"Work"_s;
        calendar.color = u"#123456"_s;
        calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
        [&] { QVERIFY(m_state->calendars()->insert(calendar)); }();
        return calendar;
    }

    static void submit(CalendarFormDialog *form, const QString &name)
    {
        form->show();
        type(form, u"name"_s, name);
        QTest::mouseClick(button(form, QDialogButtonBox::Ok), Qt::LeftButton);
    }

    static QString statusText(CalendarFormDialog *form)
    {
        auto *label = find<QLabel>(form, u"status"_s);
        return label->isVisible() ? label->text() : QString();
    }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

QTEST_MAIN(TestCalendarFormDialog)
#include "tst_calendarformdialog.moc"
