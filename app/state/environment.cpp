#include "environment.h"

#include <QDir>
#include <QFileInfo>
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
    // Events, accounts and sync state: the folder is the user's alone.
    if (!QFileInfo::exists(dir)) {
        QDir().mkpath(QFileInfo(QDir::cleanPath(dir)).absolutePath());
        QDir().mkdir(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return dir;
}

QString databasePath()
{
    return dataDirectory() + u"/calendar.db"_s;
}

QString dataLockPath()
{
    return dataDirectory() + u"/calendar.lock"_s;
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
