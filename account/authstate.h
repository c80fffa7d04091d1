#pragma once

#include <QObject>

namespace TolmAccount {
Q_NAMESPACE

// The numbers are part of the log lines and of the signal's contract.
enum class AuthState {
    Unknown = 0, // before Client::initialize
    SignedOut = 1,
    Authenticated = 3,
};
Q_ENUM_NS(AuthState)

} // namespace TolmAccount
