#include "graphzones.h"

using namespace Qt::StringLiterals;

namespace GraphZones {

namespace {

struct Renamed
{
    const char *iana;
    const char *windows;
};

// IANA ids newer than the names Qt's table knows them by.
constexpr Renamed kRenamed[] = {
    {"Asia/Kolkata", "India Standard Time"},
    {"Asia/Kathmandu", "Nepal Standard Time"},
    {"Asia/Yangon", "Myanmar Standard Time"},
    {"Asia/Ho_Chi_Minh", "SE Asia Standard Time"},
    {"Europe/Kyiv", "FLE Standard Time"},
    {"America/Nuuk", "Greenland Standard Time"},
    {"America/Argentina/Buenos_Aires", "Argentina Standard Time"},
    {"America/Indiana/Indianapolis", "US Eastern Standard Time"},
    {"Atlantic/Faroe", "GMT Standard Time"},
    {"Pacific/Kanton", "UTC+13"},
    {"America/Kentucky/Louisville", "Eastern Standard Time"},
    {"America/Argentina/Cordoba", "Argentina Standard Time"},
    {"America/Argentina/Catamarca", "Argentina Standard Time"},
    {"America/Argentina/Jujuy", "Argentina Standard Time"},
    {"America/Argentina/Mendoza", "Argentina Standard Time"},
    {"America/Ciudad_Juarez", "Mountain Standard Time"},
    {"America/Atikokan", "SA Pacific Standard Time"},
    {"Africa/Asmara", "E. Africa Standard Time"},
    {"Pacific/Chuuk", "West Pacific Standard Time"},
    {"Pacific/Pohnpei", "Central Pacific Standard Time"},
    {"UTC", "UTC"},
    {"Etc/UTC", "UTC"},
    {"GMT", "UTC"},
};

} // namespace

bool isUtcName(const QString &name)
{
    return name.compare("UTC"_L1, Qt::CaseInsensitive) == 0 || name == "tzone://Microsoft/Utc"_L1
        || name == "Etc/UTC"_L1 || name == "Coordinated Universal Time"_L1;
}

QString windowsName(const QByteArray &ianaId)
{
    for (const Renamed &entry : kRenamed) {
        if (ianaId == entry.iana)
            return QString::fromLatin1(entry.windows);
    }
    const QByteArray windows = QTimeZone::ianaIdToWindowsId(ianaId);
    return windows.isEmpty() ? u"UTC"_s : QString::fromLatin1(windows);
}

QTimeZone zoneOf(const QString &name)
{
    if (name.isEmpty())
        return QTimeZone();
    if (isUtcName(name))
        return QTimeZone::utc();
    const QByteArray id = name.toUtf8();
    const QByteArray iana = QTimeZone::windowsIdToDefaultIanaId(id);
    if (!iana.isEmpty())
        return QTimeZone(iana);
    return QTimeZone::isTimeZoneIdAvailable(id) ? QTimeZone(id) : QTimeZone();
}

} // namespace GraphZones
