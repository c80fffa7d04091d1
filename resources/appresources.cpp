#include "appresources.h"

#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace AppResources {

QStringList fontPaths()
{
    return {u":/fonts/IBMPlexSans.ttf"_s, u":/fonts/IBMPlexSans-Italic.ttf"_s, u":/fonts/IBMPlexMono-Medium.ttf"_s,
            u":/fonts/MaterialIcons-Regular.otf"_s};
}

LoadedFonts loadFonts()
{
    LoadedFonts result;
    const QStringList paths = fontPaths();
    QStringList families;
    for (const QString &path : paths) {
        const int id = QFontDatabase::addApplicationFont(path);
        const QStringList names = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
        families.append(names.value(0));
        if (names.isEmpty())
            result.failed.append(path);
    }
    // The italic face only adds a style to the sans family.
    result.sansFamily = families.at(0).isEmpty() ? families.at(1) : families.at(0);
    result.monoFamily = families.at(2);
    result.iconFamily = families.at(3);
    return result;
}

QString iconPath()
{
    return u":/icons/app-icon.png"_s;
}

QString translationPath(const QString &language)
{
    return u":/i18n/calendar_%1.qm"_s.arg(language);
}

} // namespace AppResources
