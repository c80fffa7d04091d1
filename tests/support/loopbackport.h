#pragma once

#include <QProcess>

// Helpers for servers run as child processes on 127.0.0.1.
namespace LoopbackPort {

// A port that was free a moment ago.
int pickFree();
// Waits until something accepts connections on the port; false when `process`
// ended first or nothing listened within `timeoutMs`.
bool waitUntilListening(int port, const QProcess &process, int timeoutMs = 20000);

} // namespace LoopbackPort
