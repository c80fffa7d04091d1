#pragma once

struct sqlite3;

// Registers the SQL function `text_contains(needle, text, ...)` on a
// connection: 1 when any of the texts contains the needle regardless of
// letter case in any script (SQLite's own LIKE folds ASCII only), else 0.
// The needle is folded once per statement. Internal to the store library.
bool registerTextSearchFunction(sqlite3 *handle);
