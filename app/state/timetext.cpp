#include "timetext.h"

#include <QLocale>

namespace TimeText {

QString shortTime(const QTime &time)
{
    const QLocale locale;
    const bool twelveHour = locale.timeFormat(QLocale::ShortFormat).contains(QLatin1Char('a'), Qt::CaseInsensitive);
    return locale.toString(time, twelveHour ? QStringLiteral("h:mm AP") : QStringLiteral("HH:mm"));
}

} // namespace TimeText
