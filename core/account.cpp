#include "account.h"

bool operator==(const Account &a, const Account &b)
{
    return a.id == b.id && a.name == b.name && a.type == b.type && a.server_url == b.server_url
        && a.username == b.username && a.calendar_home_set == b.calendar_home_set && a.principal_url == b.principal_url
        && a.sync_interval_minutes == b.sync_interval_minutes && a.last_sync_time == b.last_sync_time
        && a.last_sync_error == b.last_sync_error && a.enabled == b.enabled && a.color == b.color
        && a.exclude_from_sync == b.exclude_from_sync && a.trusted_cert_sha256 == b.trusted_cert_sha256
        && a.pending_cert_sha256 == b.pending_cert_sha256 && a.created_at == b.created_at
        && a.updated_at == b.updated_at;
}
