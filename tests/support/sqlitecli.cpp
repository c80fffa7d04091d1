#include "sqlitecli.h"

#include <QProcess>

QString sqliteCli(const QString &databaseFile, const QString &statement)
{
    QProcess process;
    process.start(QStringLiteral("sqlite3"), {databaseFile, statement});
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return QStringLiteral("<sqlite3 failed: %1>").arg(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}
