#pragma once

#include "fakeproviderserver.h"

#include <QPair>

// tests/support/fakegoogle.py: Google's OAuth and Calendar v3 endpoints (and
// Microsoft's token endpoint shape) as their documentation describes them,
// with a control API to seed data, change it behind the client's back,
// inject failures and read the request log.
class FakeGoogle : public FakeProviderServer
{
public:
    static constexpr const char *kClientId = "test-client";
    static constexpr const char *kClientSecret = "test-secret";

    FakeGoogle();

    QList<QJsonObject> events(const QString &calendarId);
    // An access and a refresh token the server accepts.
    QPair<QString, QString> grantTokens();
};
