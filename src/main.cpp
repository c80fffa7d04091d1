#include "application.h"
#include "displayconnection.h"
#include "environment.h"
#include "singleinstance.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStringList>

#include <cstdio>

namespace {

// Another program holds the data folder (a peek: a free lock is let go).
bool dataFolderInUse()
{
    QLockFile lock(dataLockPath());
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) {
        lock.unlock();
        return false;
    }
    return lock.error() == QLockFile::LockFailedError;
}

} // namespace

int main(int argc, char **argv)
{
    // Quiet by default; a development instance or explicit rules keep Qt's.
    if (qgetenv("CALENDAR_INSTANCE") != "dev" && qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Before the application object, which needs a display: a launch from a
    // shell without one still reaches the running program.
    if (SingleInstance::handOver(arguments))
        return 0;
    if (SingleInstance::serverName().isEmpty() && dataFolderInUse()) {
        // The channel's folder was made (or linked) by someone else, so the
        // running program never listened: this launch's command cannot reach
        // it, and a second program on the same data must not start.
        const QString said =
            QCoreApplication::translate("main",
                                        "The calendar is already running, but its command channel cannot be used: "
                                        "%1 is not a private folder of this user (another user may have made it). "
                                        "This launch's command was not handed over.")
                .arg(SingleInstance::fallbackDirectory());
        std::fprintf(stderr, "%s\n", said.toLocal8Bit().constData());
        return 2;
    }

    // Qt would abort on a display that refuses it; a loaded X server may
    // refuse a moment, and a missing one is said in words.
    const DisplayConnection::Result display = DisplayConnection::waitForDisplay(argc, argv, std::chrono::seconds(5));
    if (display.outcome == DisplayConnection::Outcome::Unreachable) {
        const QString said = display.display.isEmpty()
            ? QStringLiteral("The calendar cannot open its window: no display is set (DISPLAY is empty).")
            : QStringLiteral("The calendar cannot open its window: the display %1 does not answer.")
                  .arg(display.display);
        std::fprintf(stderr, "%s\n", said.toLocal8Bit().constData());
        return 1;
    }

    Application app(argc, argv);
    DisplayConnection::release();
    auto *singleInstance = new SingleInstance(&app);
    if (singleInstance->forwardOrListen(arguments)) {
        if (!singleInstance->commandLost())
            return 0;
        const QString said = QCoreApplication::translate("main",
                                                         "The calendar is starting in another launch, but it did not "
                                                         "take this launch's command in time. The command was not "
                                                         "handed over.");
        std::fprintf(stderr, "%s\n", said.toLocal8Bit().constData());
        return 2;
    }
    app.setSingleInstance(singleInstance, SingleInstance::buildCommand(arguments));
    return app.run();
}
