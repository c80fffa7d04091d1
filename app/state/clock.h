#pragma once

#include <QDateTime>

#include <functional>

// Where a timer-driven class reads "now". The default is the system clock;
// tests hand in a fixed one.
using Clock = std::function<QDateTime()>;

inline QDateTime systemNow()
{
    return QDateTime::currentDateTime();
}
