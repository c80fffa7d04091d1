#pragma once

// For the screenshot programs: their output folder, the application's fonts,
// a data directory of their own and the grab of one widget at its full height.

#include "appresources.h"
#include "theme.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

namespace ShotSupport {

// Loads the fonts and points the data, the secure store and the sync API
// into a temporary folder that lives as long as the object.
class Home
{
public:
    Home()
    {
        const AppResources::LoadedFonts fonts = AppResources::loadFonts();
        if (!fonts.iconFamily.isEmpty())
            Theme::setIconFontFamily(fonts.iconFamily);
        QApplication::setFont(QFont(Theme::sansFamily(), 11));
        qputenv("CALENDAR_DATA_DIR", m_dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("xdg")).toUtf8());
        qputenv("SYNC_API_URL", "http://127.0.0.1:9/calendar/v1");
    }

private:
    QTemporaryDir m_dir;
};

// The folder named as the program's one argument, made if missing. Returns
// the exit code when there is none: 2 for a missing argument, 1 when the
// folder cannot be made; 0 otherwise.
inline int outputDir(int argc, char **argv, const char *program, QDir *out)
{
    if (argc < 2) {
        qCritical("usage: %s OUTPUT_DIR", program);
        return 2;
    }
    *out = QDir(QString::fromLocal8Bit(argv[1]));
    if (!out->exists() && !QDir().mkpath(out->path()))
        return 1;
    return 0;
}

inline bool save(QWidget *widget, const QString &path)
{
    widget->show();
    QApplication::processEvents();
    widget->resize(widget->width(), qMax(widget->height(), widget->sizeHint().height()));
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const bool ok = widget->grab().save(path);
    qInfo("%s %s", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

} // namespace ShotSupport
