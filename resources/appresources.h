#pragma once

#include <QString>
#include <QStringList>

// The fonts, icon and translations compiled into the program.
namespace AppResources {

// ":/icons/app-icon.png", 256 px square.
QString iconPath();

// The resource fonts in the order they are registered: IBM Plex Sans regular
// and italic, IBM Plex Mono Medium, Material Icons.
QStringList fontPaths();

struct LoadedFonts
{
    QString sansFamily; // IBM Plex Sans, or empty when it did not load
    QString monoFamily;
    QString iconFamily; // Material Icons
    QStringList failed; // resource paths that are missing or not fonts
};

// Registers the resource fonts with QFontDatabase (needs a QGuiApplication).
// A build without fetched fonts has none to register; callers then keep the
// system font and report the failed paths as they see fit.
LoadedFonts loadFonts();

// ":/i18n/calendar_<language>.qm"
QString translationPath(const QString &language);

} // namespace AppResources
