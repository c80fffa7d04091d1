#include "singleinstance.h"

#include "localuser.h"
#include "shelllog.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

QString absolutePath(const QString &path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

// A real folder (no link to one elsewhere) of this user's, closed to others.
bool isPrivateFolder(const QString &path)
{
    const QFileInfo info(path);
    constexpr QFile::Permissions kOthers = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    return info.isDir() && !info.isSymLink() && info.ownerId() == LocalUser::id() && !(info.permissions() & kOthers);
}

// A peer of another user is neither told nor listened to.
bool isOwnUser(const QLocalSocket &socket)
{
    return LocalUser::peerId(socket.socketDescriptor()) == LocalUser::id();
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{
}

SingleInstance::~SingleInstance()
{
    // The channel goes before the lock: a launch that takes the lock next
    // must not see its new channel removed by this one's closing.
    delete m_server;
    m_server = nullptr;
}

QString SingleInstance::runtimeDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    const QString own = fallbackDirectory();
    QDir().mkpath(QFileInfo(own).path());
    // Made closed at once: a program starting at the same moment must not
    // find it open to others between its making and a change of its mode.
    QDir().mkdir(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return isPrivateFolder(own) ? own : QString();
}

QString SingleInstance::fallbackDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/quillmarten-calendar"_s;
}

QString SingleInstance::serverName()
{
    const QString folder = runtimeDirectory();
    if (folder.isEmpty())
        return QString();
    QString name = folder + u"/quillmarten-calendar"_s;
    const QString instance = QString::fromUtf8(qgetenv("CALENDAR_INSTANCE"));
    if (!instance.isEmpty())
        name += u'-' + instance;
    return name;
}

QByteArray SingleInstance::buildCommand(const QStringList &arguments)
{
    QJsonObject command{{u"cmd"_s, u"focus"_s}};
    const QString quickAddPrefix = u"--quick-add="_s;
    // Later options overwrite "cmd"; a text or path set earlier stays.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        const bool hasNext = i + 1 < arguments.size();
        if (a == u"--show-today"_s) {
            command[u"cmd"_s] = u"show-today"_s;
        } else if (a == u"--new-event"_s) {
            command[u"cmd"_s] = u"new-event"_s;
        } else if (a == u"--quick-add"_s && hasNext) {
            command[u"cmd"_s] = u"quick-add"_s;
            command[u"text"_s] = arguments.at(++i);
        } else if (a.startsWith(quickAddPrefix)) {
            command[u"cmd"_s] = u"quick-add"_s;
            command[u"text"_s] = a.mid(quickAddPrefix.size());
        } else if (a == u"--ics"_s && hasNext) {
            command[u"cmd"_s] = u"open-ics"_s;
            command[u"path"_s] = absolutePath(arguments.at(++i));
        } else if (a.endsWith(u".ics"_s, Qt::CaseInsensitive) && QFileInfo(a).isFile()) {
            command[u"cmd"_s] = u"open-ics"_s;
            command[u"path"_s] = absolutePath(a);
        }
    }
    return QJsonDocument(command).toJson(QJsonDocument::Compact) + '\n';
}

bool SingleInstance::forward(const QByteArray &command)
{
    const QString name = serverName();
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name, QIODevice::ReadWrite);
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    if (!isOwnUser(socket)) {
        qCWarning(lcShell).noquote() << u"[SingleInstance] the channel is held by another user; not sending"_s;
        socket.abort();
        return false;
    }
    socket.write(command);
    socket.flush();
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::handOver(const QStringList &arguments)
{
    return forward(buildCommand(arguments));
}

bool SingleInstance::forwardOrListen(const QStringList &arguments)
{
    m_commandLost = false;
    const QByteArray command = buildCommand(arguments);
    if (forward(command))
        return true;

    const QString name = serverName();
    if (name.isEmpty()) {
        qCWarning(lcShell).noquote() << u"[SingleInstance] no private runtime folder; running without a channel"_s;
        return false;
    }
    // Only the holder of the lock listens, so a channel it finds is a dead
    // one's; a launch that finds the lock held hands its command to the
    // holder once it listens, and ends.
    auto lock = std::make_unique<QLockFile>(name + u".lock"_s);
    lock->setStaleLockTime(0);
    const QDeadlineTimer starting(kStartingPeerWaitMs);
    while (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError) {
            qCWarning(lcShell).noquote() << u"[SingleInstance] cannot lock"_s << lock->fileName();
            return false;
        }
        if (forward(command))
            return true;
        if (starting.hasExpired()) {
            qCWarning(lcShell).noquote()
                << u"[SingleInstance] the calendar that is starting did not take the command"_s;
            m_commandLost = true;
            return true;
        }
        QThread::msleep(20);
    }
    m_lock = std::move(lock);
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    // Commands can add events and import files: only this user may send them.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (m_server->listen(name))
        return false;
    qCWarning(lcShell).noquote() << u"[SingleInstance] failed to listen on"_s << name + u':' << m_server->errorString();
    return false;
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!isOwnUser(*socket)) {
            qCWarning(lcShell).noquote() << u"[SingleInstance] refused a connection from another user"_s;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readLines(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            readLines(socket);
    }
}

void SingleInstance::readLines(QLocalSocket *socket)
{
    const auto cutOff = [socket] {
        qCWarning(lcShell).noquote() << u"[SingleInstance] dropped a command longer than %1 bytes"_s.arg(kMaxLineBytes);
        socket->abort();
    };
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxLineBytes + 1);
        if (!line.endsWith('\n'))
            return cutOff();
        dispatchCommand(line);
    }
    // An incomplete line stays buffered for its newline, but only so long.
    if (socket->bytesAvailable() > kMaxLineBytes)
        cutOff();
}

void SingleInstance::dispatchCommand(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.trimmed(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        const QString reason = error.error != QJsonParseError::NoError ? error.errorString() : u"not an object"_s;
        qCWarning(lcShell).noquote() << u"[SingleInstance] bad command:"_s << reason;
        Q_EMIT focusRequested();
        return;
    }
    const QJsonObject command = document.object();
    const QString cmd = command.value(u"cmd"_s).toString();
    if (cmd == u"show-today"_s)
        Q_EMIT showTodayRequested();
    else if (cmd == u"new-event"_s)
        Q_EMIT newEventRequested();
    else if (cmd == u"quick-add"_s)
        Q_EMIT quickAddRequested(command.value(u"text"_s).toString());
    else if (cmd == u"open-ics"_s)
        Q_EMIT openIcsRequested(command.value(u"path"_s).toString());
    else
        Q_EMIT focusRequested();
}
