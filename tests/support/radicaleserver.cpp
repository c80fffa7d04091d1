#include "radicaleserver.h"

#include "loopbackport.h"
#include "serverprocess.h"

#include <QFile>

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

} // namespace

RadicaleServer::RadicaleServer()
    : RadicaleServer(Options())
{
}

RadicaleServer::RadicaleServer(const Options &options)
    : m_options(options)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // Drained while tests spin an event loop, so a chatty server never blocks
    // on a full pipe.
    QObject::connect(&m_process, &QProcess::readyRead, &m_process, [this] { m_output += m_process.readAll(); });
}

RadicaleServer::~RadicaleServer()
{
    stop();
}

bool RadicaleServer::isAvailable()
{
    QProcess probe;
    probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import radicale")});
    return probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

bool RadicaleServer::start(int timeoutMs)
{
    if (isRunning())
        return true;
    m_error.clear();
    m_output.clear();
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder for the storage");
        return false;
    }
    QStringList args = {
        QStringLiteral("-m"),
        QStringLiteral("radicale"),
        QStringLiteral("--config"),
        QString(),
        QStringLiteral("--storage-filesystem-folder"),
        storagePath(),
        QStringLiteral("--logging-level"),
        QStringLiteral("warning"),
    };
    if (m_options.user.isEmpty()) {
        args << QStringLiteral("--auth-type") << QStringLiteral("none") << QStringLiteral("--rights-type")
             << QStringLiteral("authenticated");
    } else {
        const QString users = m_dir.filePath(QStringLiteral("users"));
        QFile file(users);
        if (!file.open(QIODevice::WriteOnly)) {
            m_error = QStringLiteral("cannot write %1").arg(users);
            return false;
        }
        file.write(m_options.user.toUtf8() + ':' + m_options.password.toUtf8() + '\n');
        file.close();
        args << QStringLiteral("--auth-type") << QStringLiteral("htpasswd")
             << QStringLiteral("--auth-htpasswd-filename") << users << QStringLiteral("--auth-htpasswd-encryption")
             << QStringLiteral("plain") << QStringLiteral("--auth-delay") << QStringLiteral("0");
    }
    if (!m_options.certificatePath.isEmpty()) {
        args << QStringLiteral("--server-ssl") << QStringLiteral("True") << QStringLiteral("--server-certificate")
             << m_options.certificatePath << QStringLiteral("--server-key") << m_options.keyPath;
    }

    ServerProcess::endWithParent(m_process);
    // Listening is the sign of readiness; Radicale binds only after its
    // configuration and storage checks passed.
    m_port = LoopbackPort::startOnFreePort(
        m_process,
        [&](int port) {
        m_output.clear();
        m_process.start(kPython,
                        QStringList(args)
                            << QStringLiteral("--server-hosts") << QStringLiteral("127.0.0.1:%1").arg(port));
        return true;
        },
        timeoutMs);
    if (m_port != 0)
        return true;
    if (m_process.error() == QProcess::FailedToStart)
        m_error = QStringLiteral("cannot run %1: %2").arg(kPython, m_process.errorString());
    else if (m_process.state() == QProcess::NotRunning)
        m_error = QStringLiteral("radicale exited: ") + output();
    else
        m_error = QStringLiteral("radicale did not listen within %1 ms: ").arg(timeoutMs) + output();
    stop();
    return false;
}

void RadicaleServer::stop()
{
    ServerProcess::stop(m_process);
    m_output += m_process.readAll();
}

bool RadicaleServer::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

QUrl RadicaleServer::baseUrl() const
{
    return url(QStringLiteral("/"));
}

QUrl RadicaleServer::url(const QString &path) const
{
    return LoopbackPort::url(m_options.certificatePath.isEmpty() ? QStringLiteral("http") : QStringLiteral("https"),
                             m_port, path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path);
}

QString RadicaleServer::storagePath() const
{
    return m_dir.filePath(QStringLiteral("collections"));
}

QString RadicaleServer::output()
{
    m_output += m_process.readAll();
    return QString::fromLocal8Bit(m_output);
}
