#pragma once

#include <QtGlobal>

#include <optional>

// Who is at the other end of a local socket. The operating system's own
// answer (peer credentials), so a process of another user cannot pass for
// this one. One implementation file per platform.
namespace LocalUser {

// The effective user id of this process.
quint32 id();
// The user id of the process connected at `socketDescriptor` (a connected
// local stream socket), as the kernel recorded it at connect time; empty
// when it cannot be told.
std::optional<quint32> peerId(qintptr socketDescriptor);

} // namespace LocalUser
