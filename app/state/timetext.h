#pragma once

#include <QString>
#include <QTime>

// Clock times as the user's locale writes them, without seconds: the C
// locale's short format carries seconds, which no calendar shows.
namespace TimeText {

QString shortTime(const QTime &time);

} // namespace TimeText
