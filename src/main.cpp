#include "application.h"
#include "singleinstance.h"

#include <QLoggingCategory>
#include <QStringList>

int main(int argc, char **argv)
{
    // Quiet by default; a development instance or explicit rules keep Qt's.
    if (qgetenv("CALENDAR_INSTANCE") != "dev" && qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));

    Application app(argc, argv);
    auto *singleInstance = new SingleInstance(&app);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (singleInstance->forwardOrListen(arguments))
        return 0;
    app.setSingleInstance(singleInstance, SingleInstance::buildCommand(arguments));
    return app.run();
}
