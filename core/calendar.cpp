#include "calendar.h"

bool operator==(const Calendar &a, const Calendar &b)
{
    return a.id == b.id && a.account_id == b.account_id && a.url == b.url && a.name == b.name
        && a.description == b.description && a.color == b.color && a.timezone == b.timezone
        && a.is_visible == b.is_visible && a.is_read_only == b.is_read_only && a.is_default == b.is_default
        && a.ctag == b.ctag && a.sync_token == b.sync_token && a.delta_sync_token == b.delta_sync_token
        && a.supported_components == b.supported_components && a.sort_order == b.sort_order
        && a.canonical_key == b.canonical_key && a.sync_enabled == b.sync_enabled && a.is_shared == b.is_shared
        && a.shared_with_me == b.shared_with_me && a.last_sync_error == b.last_sync_error
        && a.created_at == b.created_at && a.updated_at == b.updated_at;
}
