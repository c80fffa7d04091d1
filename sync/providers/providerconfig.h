#pragma once

#include <QString>
#include <QUrl>

// Where the providers live and who this program is to them. The public hosts
// are the defaults; the client credentials come only from the environment
// (see .env.example), so a build without them offers neither provider. Tests
// point every URL at 127.0.0.1.
struct ProviderConfig
{
    // Google
    QUrl googleAuthorizationEndpoint;
    QUrl googleTokenEndpoint;
    QUrl googleApiBase;
    QString googleClientId;
    QString googleClientSecret;
    // Microsoft: the identity platform's authority; the tenant follows it.
    QUrl microsoftAuthority;
    QString microsoftTenant;
    QString microsoftClientId;

    bool hasGoogleCredentials() const { return !googleClientId.isEmpty() && !googleClientSecret.isEmpty(); }
    bool hasMicrosoftCredentials() const { return !microsoftClientId.isEmpty(); }
    QUrl microsoftAuthorizationEndpoint() const;
    QUrl microsoftTokenEndpoint() const;

    // The public endpoints, overridden by the CALENDAR_GOOGLE_* and
    // CALENDAR_MICROSOFT_* variables of the environment.
    static ProviderConfig fromEnvironment();
};
