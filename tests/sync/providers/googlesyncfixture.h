#pragma once

// A started application over its own data directory, a fake Google on
// loopback and a Google account with two calendars whose tokens are valid.

#include "accountrepository.h"
#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "fakegoogle.h"
#include "googleauthservice.h"
#include "googlesyncclient.h"
#include "memorytokenstore.h"

#include <QSignalSpy>

class GoogleSyncFixture
{
public:
    inline static const QString kAccount = QStringLiteral("acc-google");
    inline static const QString kWork = QStringLiteral("cal-work");
    inline static const QString kHome = QStringLiteral("cal-home");
    inline static const QString kWorkRemote = QStringLiteral("work@group.example");
    inline static const QString kHomeRemote = QStringLiteral("home#1@group.example");

    // Call from initTestCase.
    bool startServer() { return m_fake.start(); }
    QString serverError() const { return m_fake.errorString(); }

    // Call from init: a fresh server state, database and token store.
    void reset()
    {
        m_fake.control(QStringLiteral("reset"));
        m_fake.setCalendars(
            {QJsonObject{{QStringLiteral("id"), kWorkRemote}}, QJsonObject{{QStringLiteral("id"), kHomeRemote}}});
        m_app = std::make_unique<AppStateFixture>();
        m_state = m_app->start();
        QVERIFY(m_state);
        Account account;
        account.id = kAccount;
        account.name = QStringLiteral("user@example.test");
        account.type = QStringLiteral("google");
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->accounts()->insert(account));
        for (const auto &[id, remote] : {std::pair{kWork, kWorkRemote}, std::pair{kHome, kHomeRemote}}) {
            Calendar calendar;
            calendar.id = id;
            calendar.account_id = kAccount;
            calendar.url = remote;
            calendar.name = id;
            calendar.sync_enabled = true;
            calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
            QVERIFY(m_state->calendars()->insert(calendar));
        }
        m_tokens = std::make_unique<TolmAccount::MemoryTokenStore>();
        const auto granted = m_fake.grantTokens();
        storeTokens({granted.first, granted.second, QDateTime::currentDateTimeUtc().addSecs(3600)});
    }

    void storeTokens(const StoredTokens &tokens)
    {
        QVERIFY(Google::AuthService::saveTokens(m_tokens.get(), kAccount, tokens));
    }
    StoredTokens tokens() const { return Google::AuthService::loadTokens(m_tokens.get(), kAccount); }

    ProviderConfig config() const
    {
        const QString base = m_fake.baseUrl().toString();
        ProviderConfig c;
        c.googleTokenEndpoint = QUrl(base + QStringLiteral("/token"));
        c.googleApiBase = m_fake.baseUrl();
        c.googleClientId = QLatin1StringView(FakeGoogle::kClientId);
        c.googleClientSecret = QLatin1StringView(FakeGoogle::kClientSecret);
        return c;
    }

    struct Report
    {
        QStringList completed; // calendar ids, in order
        QStringList failed;
        QStringList reasons;
        QList<SyncResult> results; // of the failed, in order
    };

    // Runs the calendars on one client until each has reported; then waits
    // a moment more so that a second report would be seen.
    Report sync(const QStringList &calendarIds = {kWork}, const std::function<void()> &meanwhile = {})
    {
        Google::SyncClient client(m_state, &m_network, config(), m_tokens.get());
        QSignalSpy completed(&client, &Google::SyncClient::calendarSyncCompleted);
        QSignalSpy failed(&client, &Google::SyncClient::calendarSyncFailed);
        for (const QString &id : calendarIds)
            client.syncCalendar(*m_state->calendars()->getById(id));
        if (meanwhile)
            meanwhile();
        const bool done = QTest::qWaitFor([&] { return completed.size() + failed.size() >= calendarIds.size(); },
                                          20000);
        QTest::qWait(200);
        Report report;
        for (const auto &args : completed)
            report.completed << args.first().toString();
        for (const auto &args : failed) {
            report.failed << args.first().toString();
            report.results << args.at(1).value<SyncResult>();
            report.reasons << report.results.last().describe();
        }
        if (!done)
            report.reasons << QStringLiteral("(no report)");
        return report;
    }

    // A copy of the secure store's current tokens, for a coordinator.
    std::unique_ptr<TolmAccount::TokenStore> tokenStoreCopy() const
    {
        auto copy = std::make_unique<TolmAccount::MemoryTokenStore>();
        Google::AuthService::saveTokens(copy.get(), kAccount, tokens());
        return copy;
    }

    AppState *state() const { return m_state; }
    EventRepository *events() const { return m_state->events(); }
    FakeGoogle &fake() { return m_fake; }
    AppStateFixture &app() { return *m_app; }

private:
    FakeGoogle m_fake;
    QNetworkAccessManager m_network;
    std::unique_ptr<AppStateFixture> m_app;
    AppState *m_state = nullptr;
    std::unique_ptr<TolmAccount::MemoryTokenStore> m_tokens;
};
