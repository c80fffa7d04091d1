// Start at login and the .ics association on freedesktop.org desktops: an
// autostart entry under $XDG_CONFIG_HOME/autostart and an application entry
// claiming text/calendar under $XDG_DATA_HOME/applications.
#include "desktopintegration.h"

#include "applog.h"
#include "desktopentry.h"
#include "environment.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

QString autostartFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/autostart/"_s
        + autostartValueName() + u".desktop"_s;
}

// One entry for every instance, like the file type's one handler: the
// program that ran last owns it.
QString associationFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + u"/applications/com.quillmarten.calendar.desktop"_s;
}

QString program()
{
    return QCoreApplication::applicationFilePath();
}

QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Atomic, and skipped when the file already says the same, so a start does
// not wake every desktop-database watcher.
bool writeFile(const QString &path, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
            return true;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qCWarning(lcApp).noquote() << "[Desktop] cannot create the folder of" << path;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcApp).noquote() << "[Desktop] cannot write" << path << file.errorString();
        return false;
    }
    file.write(bytes);
    if (!file.commit()) {
        qCWarning(lcApp).noquote() << "[Desktop] cannot write" << path << file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool isAutostartEnabled()
{
    const QString text = readFile(autostartFilePath());
    const auto exec = DesktopEntry::value(text, u"Exec"_s);
    // Desktops switch an entry off by writing Hidden=true over it.
    return exec && !exec->isEmpty() && DesktopEntry::value(text, u"Hidden"_s) != u"true"_s;
}

bool setAutostartEnabled(bool on)
{
    const QString path = autostartFilePath();
    if (!on) {
        QFile file(path);
        if (file.exists() && !file.remove()) {
            qCWarning(lcApp).noquote() << "[Desktop] cannot remove" << path << file.errorString();
            return false;
        }
        return true;
    }
    const QString entry = u"[Desktop Entry]\n"
                          u"Type=Application\n"
                          u"Name=Quillmarten Calendar\n"
                          u"Exec=%1\n"
                          u"Terminal=false\n"_s.arg(DesktopEntry::execValue({program(), u"--background"_s}));
    return writeFile(path, entry);
}

bool registerIcsFileAssociation()
{
    // Hidden from menus: this entry only opens files; the launcher is the
    // installation's business.
    const QString entry = u"[Desktop Entry]\n"
                          u"Type=Application\n"
                          u"Name=Quillmarten Calendar\n"
                          u"Exec=%1 %f\n"
                          u"MimeType=text/calendar;\n"
                          u"NoDisplay=true\n"
                          u"Terminal=false\n"_s.arg(DesktopEntry::execValue({program(), u"--ics"_s}));
    return writeFile(associationFilePath(), entry);
}
