#pragma once

#include <QString>

// The user's words for why the store refused a write: what a failed save
// shows instead of a generic "couldn't save", so the user knows to free disk
// space, fix permissions or close another program.
namespace StoreFailureText {

// The reason of the last failure the store noted on this thread
// (StoreFailure::last()), or empty text when it has none the user can act
// on. Call StoreFailure::clear() before the write.
QString lastFailure();

} // namespace StoreFailureText
