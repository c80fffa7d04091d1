#include "xandikosserver.h"

#include "loopbackport.h"
#include "serverprocess.h"

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
    const QString log = m_dir.filePath(u"xandikos.log"_s);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(log);
    ServerProcess::endWithParent(m_process);
    m_port = LoopbackPort::startOnFreePort(m_process, [this](int port) {
        m_process.start(u"/usr/bin/xandikos"_s,
                        {u"--defaults"_s, u"-d"_s, m_dir.filePath(u"data"_s), u"-l"_s, u"127.0.0.1"_s, u"-p"_s,
                         QString::number(port)});
        return true;
    });
    if (m_port != 0)
        return true;
    m_error = u"xandikos did not come up: "_s + m_process.errorString() + u'\n' + ServerProcess::tail(log);
    stop();
    return false;
}

void XandikosServer::stop()
{
    ServerProcess::stop(m_process);
}

QUrl XandikosServer::url(const QString &path) const
{
    return LoopbackPort::url(u"http"_s, m_port, path);
}
