#pragma once

#include "clientconfig.h"

#include <QUrl>

// Where the maker's services are. Each value comes from its environment
// variable when that is set and non-empty; the defaults name hosts of the
// reserved ".example" domain, so an unconfigured build reaches no real
// service.

// AUTH_API_URL, AUTH_REALM_SLUG, ACCOUNT_API_URL (default: the API host
// + "/account/v1"), AUTH_CLIENT_ID, ACCOUNT_PORTAL_URL; the application
// identifier, display name and version of this application.
TolmAccount::ClientConfig accountClientConfig();

// SYNC_API_URL; default: the API host + "/calendar/v1".
QUrl calendarSyncApiBaseUrl();
