#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>

// Ports on 127.0.0.1 for servers that tests run as child processes.
namespace LoopbackPort {

// A port that was free a moment ago.
int pickFree();
// Waits until something accepts connections on the port; false when `process`
// ended first or nothing listened within `timeoutMs`.
bool waitUntilListening(int port, const QProcess &process, int timeoutMs = 20000);
// "<scheme>://127.0.0.1:<port>" followed by `path`.
QUrl url(const QString &scheme, int port, const QString &path);

} // namespace LoopbackPort
