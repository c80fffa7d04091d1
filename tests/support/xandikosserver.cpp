#include "xandikosserver.h"

#include "loopbackport.h"

#include <QFile>

using namespace Qt::StringLiterals;

XandikosServer::XandikosServer() = default;

XandikosServer::~XandikosServer()
{
    stop();
}

bool XandikosServer::start()
{
    if (!m_dir.isValid()) {
        m_error = u"no temporary folder"_s;
        return false;
    }
    m_port = LoopbackPort::pickFree();
    const QString log = m_dir.filePath(u"xandikos.log"_s);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(log);
    m_process.start(u"/usr/bin/xandikos"_s,
                    {u"--defaults"_s, u"-d"_s, m_dir.filePath(u"data"_s), u"-l"_s, u"127.0.0.1"_s, u"-p"_s,
                     QString::number(m_port)});
    if (LoopbackPort::waitUntilListening(m_port, m_process))
        return true;
    QFile file(log);
    file.open(QIODevice::ReadOnly);
    m_error = u"xandikos did not come up: "_s + m_process.errorString() + u'\n'
        + QString::fromLocal8Bit(file.readAll().right(2000));
    stop();
    return false;
}

void XandikosServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QUrl XandikosServer::url(const QString &path) const
{
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(u"127.0.0.1"_s);
    url.setPort(m_port);
    url.setPath(path);
    return url;
}
