#include "environment.h"

#include <QDir>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString variable(const char *name)
{
    return QString::fromUtf8(qgetenv(name));
}

} // namespace

QString dataDirectory()
{
    const QString overridden = variable("CALENDAR_DATA_DIR");
    const QString dir = !overridden.isEmpty()
        ? overridden
        : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Quillmarten/Calendar"_s;
    QDir().mkpath(dir);
    return dir;
}

QString databasePath()
{
    return dataDirectory() + u"/calendar.db"_s;
}

bool isDevInstance()
{
    return variable("CALENDAR_INSTANCE") == u"dev"_s;
}

QString appIdentifier()
{
    const QString instance = variable("CALENDAR_INSTANCE");
    const QString base = u"com.quillmarten.calendar"_s;
    return instance.isEmpty() ? base : base + u'.' + instance;
}

QString autostartValueName()
{
    const QString instance = variable("CALENDAR_INSTANCE");
    const QString base = u"QuillmartenCalendar"_s;
    return instance.isEmpty() ? base : base + u'-' + instance;
}
