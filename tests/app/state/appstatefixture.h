#pragma once

// A started AppState over its own data directory: CALENDAR_DATA_DIR and the
// secure store's XDG_DATA_HOME point into a temporary folder, and the sync
// API at a closed port unless a test gives a server. The file can be
// prepared before the start and read independently through sqlite3.

#include "account/client.h"
#include "appstate.h"
#include "calendar.h"
#include "calendarrepository.h"
#include "database.h"
#include "environment.h"
#include "sqlitecli.h"
#include "tokenstore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <functional>
#include <memory>

class AppStateFixture
{
public:
    AppStateFixture()
    {
        QVERIFY(m_dir.isValid());
        qputenv("CALENDAR_DATA_DIR", m_dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("xdg")).toUtf8());
        qputenv("SYNC_API_URL", "http://127.0.0.1:9/calendar/v1");
    }
    ~AppStateFixture() { stop(); }

    QString databaseFile() const { return databasePath(); }

    // Runs statements on the file before the application starts (the
    // database migrated first), as an earlier run or another device left it.
    void prepare(const QStringList &statements)
    {
        Database database;
        QVERIFY(database.open(databaseFile()));
        QVERIFY(database.migrate());
        for (const QString &statement : statements) {
            QSqlQuery query(database.database());
            QVERIFY2(query.exec(statement), qPrintable(statement + QLatin1Char(' ') + query.lastError().text()));
        }
    }

    // Stores the account's tokens where the application looks for them.
    void signIn()
    {
        auto store = TolmAccount::createTokenStore(appIdentifier());
        QVERIFY(store);
        QVERIFY(store->save(TolmAccount::Client::accessTokenKey(), QStringLiteral("access-1")));
        QVERIFY(store->save(TolmAccount::Client::refreshTokenKey(), QStringLiteral("refresh-1")));
    }

    AppState *start()
    {
        stop();
        m_state = std::make_unique<AppState>();
        if (m_onCreated)
            m_onCreated(m_state.get());
        if (!m_state->initialize())
            m_state.reset();
        return m_state.get();
    }
    // A test's init(): a new fixture (the previous one's directory dropped
    // after) with its state started; the test fails when it does not start.
    static void startFresh(std::unique_ptr<AppStateFixture> &fixture, AppState *&state)
    {
        fixture = std::make_unique<AppStateFixture>();
        state = fixture->start();
        QVERIFY(state);
    }
    // A calendar row, not yet stored, under the local account every started
    // state has.
    static Calendar localCalendar(const QString &id, const QString &name, const QString &color = Calendar().color)
    {
        Calendar calendar;
        calendar.id = id;
        calendar.account_id = QStringLiteral("personal-local-account");
        calendar.url = QStringLiteral("local://calendar/") + id;
        calendar.name = name;
        calendar.color = color;
        calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
        return calendar;
    }
    // Stores `calendar` as a new syncing calendar of the account: a fresh id,
    // created now. Returns the stored row.
    static Calendar addSyncingCalendar(AppState *state, const QString &accountId, Calendar calendar)
    {
        calendar.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        calendar.account_id = accountId;
        calendar.sync_enabled = true;
        calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
        if (!state->calendars()->insert(calendar))
            qFatal("calendar not stored");
        return calendar;
    }
    // Runs between construction and initialize(), for signal spies.
    void onCreated(std::function<void(AppState *)> hook) { m_onCreated = std::move(hook); }
    void stop() { m_state.reset(); }
    AppState *state() const { return m_state.get(); }

    QString cli(const QString &statement) const { return sqliteCli(databaseFile(), statement); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppState> m_state;
    std::function<void(AppState *)> m_onCreated;
};
