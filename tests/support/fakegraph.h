#pragma once

#include "fakeproviderserver.h"

// tests/support/fakegraph.py: Microsoft Graph's calendar endpoints and the
// Microsoft identity token endpoint as their documentation describes them,
// with a control API to seed data, change it behind the client's back,
// inject failures and read the request log.
class FakeGraph : public FakeProviderServer
{
public:
    static constexpr const char *kClientId = "test-client";

    FakeGraph();

    // The Graph base: the server and the /v1.0 segment.
    QUrl graphUrl() const;

    void removeEvents(const QString &calendarId, const QStringList &ids);
    QList<QJsonObject> events(const QString &calendarId);
    // An access token the server accepts.
    QString grantAccessToken();
};
