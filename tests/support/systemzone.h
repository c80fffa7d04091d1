#pragma once

#include <QByteArray>

#include <time.h>

// The process's system zone for the lifetime of the scope: TZ set and the C
// library told, as if the program had been started there.
class SystemZone
{
public:
    explicit SystemZone(const QByteArray &zone)
        : m_before(qgetenv("TZ"))
    {
        set(zone);
    }
    ~SystemZone() { set(m_before); }
    SystemZone(const SystemZone &) = delete;
    SystemZone &operator=(const SystemZone &) = delete;

private:
    static void set(const QByteArray &zone)
    {
        qputenv("TZ", zone);
        tzset();
    }
    QByteArray m_before;
};
