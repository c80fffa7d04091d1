#pragma once

// A started application over its own data directory, the Graph stand-in on
// loopback and a Microsoft account whose access token is valid; each test
// gets a fresh calendar of it.

#include "accountrepository.h"
#include "appstatefixture.h"
#include "calendarrepository.h"
#include "fakegraph.h"
#include "memorytokenstore.h"
#include "microsoftauthservice.h"
#include "microsoftsyncclient.h"
#include "providerconfig.h"
#include "syncrunreport.h"

#include <QNetworkAccessManager>
#include <QUuid>

class GraphSyncFixture
{
protected:
    inline static const QString kAccount = QStringLiteral("ms-account");

    // Call from initTestCase.
    bool startAll()
    {
        if (!m_fake.start())
            return false;
        m_state = m_fixture.start();
        if (!m_state)
            return false;
        m_config.microsoftAuthority = m_fake.baseUrl();
        m_config.microsoftTenant = QStringLiteral("common");
        m_config.microsoftClientId = QString::fromLatin1(FakeGraph::kClientId);
        Account account;
        account.id = kAccount;
        account.name = QStringLiteral("Work");
        account.type = QStringLiteral("microsoft");
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        return m_state->accounts()->insert(account);
    }

    // Call from init: the server holds only `remote`, this side a new
    // calendar row for it, whose id goes to m_calendarId.
    bool freshCalendar(const QString &remote, const QString &name)
    {
        m_fake.control(QStringLiteral("reset"));
        m_fake.setCalendars({QJsonObject{{QStringLiteral("id"), remote}, {QStringLiteral("name"), name}}});
        if (!Microsoft::AuthService::saveTokens(&m_tokens, kAccount,
                                                {m_fake.grantAccessToken(), QStringLiteral("rt-unknown"),
                                                 QDateTime::currentDateTimeUtc().addSecs(3600)}))
            return false;
        Calendar calendar;
        calendar.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        calendar.account_id = kAccount;
        calendar.url = remote;
        calendar.name = name;
        calendar.sync_enabled = true;
        calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
        m_calendarId = calendar.id;
        return m_state->calendars()->insert(calendar);
    }

    // One run of a new client over m_calendarId.
    RunOutcome graphSync()
    {
        Microsoft::SyncClient client(m_state, &m_network, &m_tokens, m_config, m_fake.graphUrl());
        const SyncRunReport::Spies spies(&client);
        client.syncCalendar(*m_state->calendars()->getById(m_calendarId));
        RunOutcome outcome;
        spies.read(QStringLiteral("the run did not end"), outcome);
        return outcome;
    }

    FakeGraph m_fake;
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;
    TolmAccount::MemoryTokenStore m_tokens;
    QNetworkAccessManager m_network;
    ProviderConfig m_config;
    QString m_calendarId;
};
