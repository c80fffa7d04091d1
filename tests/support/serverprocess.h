#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>

// Helpers for servers that tests run as child processes on 127.0.0.1.
namespace ServerProcess {

// A port that was free a moment ago.
int pickFreePort();
// Waits until something accepts connections on the port; false when `process`
// ended first or nothing listened within `timeoutMs`.
bool waitUntilListening(int port, const QProcess &process, int timeoutMs = 20000);
// Ends the process by its own id: SIGTERM, then SIGKILL after five seconds.
void stop(QProcess &process);
// "<scheme>://127.0.0.1:<port>" followed by `path`.
QUrl loopbackUrl(const QString &scheme, int port, const QString &path);
// The last lines of a log file, for a failure message.
QString tail(const QString &path);

} // namespace ServerProcess
