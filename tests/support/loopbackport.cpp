#include "loopbackport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QSet>
#include <QTcpServer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace LoopbackPort {

namespace {

constexpr int kAttempts = 5;

// Inodes of the TCP sockets listening on `port`, from the kernel's tables
// (columns: sl local_address rem_address st ... inode).
QSet<QByteArray> listeningInodes(int port)
{
    QSet<QByteArray> inodes;
    const QByteArray portSuffix = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const char *table : {"/proc/net/tcp", "/proc/net/tcp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> lines = file.readAll().split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> columns = lines.at(i).simplified().split(' ');
            constexpr qsizetype kLocal = 1, kState = 3, kInode = 9;
            constexpr char kListen[] = "0A";
            if (columns.size() > kInode && columns.at(kLocal).endsWith(portSuffix) && columns.at(kState) == kListen)
                inodes.insert(columns.at(kInode));
        }
    }
    return inodes;
}

bool holdsSocket(qint64 pid, const QSet<QByteArray> &inodes)
{
    const QString fdDir = QStringLiteral("/proc/%1/fd").arg(pid);
    const QStringList fds = QDir(fdDir).entryList(QDir::Files | QDir::System);
    for (const QString &fd : fds) {
        char target[128];
        const ssize_t size = ::readlink(QFile::encodeName(fdDir + QLatin1Char('/') + fd).constData(), target,
                                        sizeof(target) - 1);
        if (size <= 0)
            continue;
        const QByteArray link(target, size); // "socket:[<inode>]"
        if (link.startsWith("socket:[") && inodes.contains(link.mid(8, link.size() - 9)))
            return true;
    }
    return false;
}

// A port that was free a moment ago.
int pickFree()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

bool isListeningOn(int port, const QProcess &process)
{
    const QSet<QByteArray> inodes = listeningInodes(port);
    return !inodes.isEmpty() && holdsSocket(process.processId(), inodes);
}

bool waitUntilListening(int port, QProcess &process, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (process.state() != QProcess::NotRunning) {
        if (isListeningOn(port, process))
            return true;
        if (deadline.hasExpired())
            return false;
        // Sleeps, and notices the process ending.
        process.waitForFinished(50);
    }
    return false;
}

int startOnFreePort(QProcess &process, const std::function<bool(int port)> &launch, int timeoutMs)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const int port = pickFree();
        if (port == 0 || !launch(port) || !process.waitForStarted(timeoutMs))
            return 0;
        if (waitUntilListening(port, process, timeoutMs))
            return port;
        if (process.state() != QProcess::NotRunning)
            return 0; // up, but not listening: no other port will help
    }
    return 0;
}

QUrl url(const QString &scheme, int port, const QString &path)
{
    QUrl url;
    url.setScheme(scheme);
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port);
    url.setPath(path);
    return url;
}

ClosedPort::ClosedPort()
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (::bind(m_fd, reinterpret_cast<sockaddr *>(&address), length) == 0
        && ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        m_port = ntohs(address.sin_port);
}

ClosedPort::~ClosedPort()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace LoopbackPort
