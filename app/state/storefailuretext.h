#pragma once

#include <QString>

class AppState;

// The user's words for why the store refused a write: what a failed save
// shows instead of a generic "couldn't save", so the user knows to free disk
// space, fix permissions or close another program.
namespace StoreFailureText {

// The reason of the last failure the store noted on this thread
// (StoreFailure::last()), or empty text when it has none the user can act
// on. Call StoreFailure::clear() before the write.
QString lastFailure();

// While a file import of this program holds the database, the answer to a
// write the user asked for; empty when no import runs. The write is not
// tried: it would only wait for the import's lock and fail.
QString importRunning(const AppState *state);

} // namespace StoreFailureText
