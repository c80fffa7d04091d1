#include "serverprocess.h"

#include <QFile>

#include <csignal>
#include <sys/prctl.h>

namespace ServerProcess {

void endWithParent(QProcess &process)
{
    // Runs in the child between fork and exec.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

QString tail(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLocal8Bit(file.readAll().right(2000));
}

} // namespace ServerProcess
