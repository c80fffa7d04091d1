#pragma once

#include <QProcess>
#include <QString>

// Helpers for servers that tests run as child processes.
namespace ServerProcess {

// The process gets SIGTERM when the test process ends, however it ends (a
// test that aborts included), so no server outlives its test. Call before start.
void endWithParent(QProcess &process);
// Ends the process by its own id: SIGTERM, then SIGKILL after five seconds.
void stop(QProcess &process);
// The last lines of a log file, for a failure message.
QString tail(const QString &path);

} // namespace ServerProcess
