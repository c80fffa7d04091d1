#pragma once

#include <QByteArray>
#include <QString>

// A tmpfs of `kilobytes` at `path`, unmounted on leaving: a disk that fills
// up. Mounting needs root; isMounted() says whether it worked.
class TinyFilesystem
{
public:
    TinyFilesystem(const QString &path, int kilobytes);
    ~TinyFilesystem();
    TinyFilesystem(const TinyFilesystem &) = delete;
    TinyFilesystem &operator=(const TinyFilesystem &) = delete;

    bool isMounted() const { return m_mounted; }
    // Grows or shrinks it to `kilobytes` (never below what it holds).
    bool resize(int kilobytes);
    // Kilobytes it holds now.
    int usedKilobytes() const;

private:
    QByteArray m_path;
    bool m_mounted = false;
};
