#pragma once

#include <QString>

namespace TolmAccount {

// What the account client needs to know about its deployment, in the order
// the application fills it. Base URLs carry no trailing slash.
struct ClientConfig
{
    QString identityBaseUrl;
    QString realmSlug;
    QString accountApiBaseUrl;
    QString clientId;
    // The secure store's service name: tokens are kept under it.
    QString applicationIdentifier;
    QString displayName;
    QString version;
    // Left empty by the application; nothing reads it.
    QString reserved;
    QString accountPortalBaseUrl;
};

} // namespace TolmAccount
