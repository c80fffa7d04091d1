#include "tinyfilesystem.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QByteArray sizeOption(int kilobytes)
{
    return "size=" + QByteArray::number(kilobytes) + "k";
}

} // namespace

TinyFilesystem::TinyFilesystem(const QString &path, int kilobytes)
    : m_path(QFile::encodeName(path))
{
    m_mounted = QDir().mkpath(path) && geteuid() == 0
        && ::mount("tmpfs", m_path.constData(), "tmpfs", 0, sizeOption(kilobytes).constData()) == 0;
}

TinyFilesystem::~TinyFilesystem()
{
    if (m_mounted)
        ::umount2(m_path.constData(), MNT_DETACH);
}

bool TinyFilesystem::resize(int kilobytes)
{
    return m_mounted
        && ::mount("tmpfs", m_path.constData(), "tmpfs", MS_REMOUNT, sizeOption(kilobytes).constData()) == 0;
}

int TinyFilesystem::usedKilobytes() const
{
    struct statvfs stats{};
    if (::statvfs(m_path.constData(), &stats) != 0)
        return 0;
    return int((stats.f_blocks - stats.f_bfree) * stats.f_frsize / 1024);
}
