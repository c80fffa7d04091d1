#include "nginxproxy.h"

#include "loopbackport.h"
#include "serverprocess.h"

#include <QFile>

using namespace Qt::StringLiterals;

NginxProxy::NginxProxy() = default;

NginxProxy::~NginxProxy()
{
    stop();
}

bool NginxProxy::start(const QUrl &upstream, const QString &certificatePath, const QString &keyPath)
{
    if (!m_dir.isValid()) {
        m_error = u"no temporary folder"_s;
        return false;
    }
    // One process, no daemon, every path inside the temporary folder, so it
    // runs as whoever runs the tests.
    const QString dir = m_dir.path();
    const QString log = m_dir.filePath(u"stderr.log"_s);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(log);
    ServerProcess::endWithParent(m_process);
    QString writeError;
    m_port = LoopbackPort::startOnFreePort(m_process, [&](int port) {
        const QString config = uR"(daemon off;
master_process off;
pid %1/nginx.pid;
error_log %1/error.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path %1/body;
    proxy_temp_path %1/proxy;
    fastcgi_temp_path %1/fastcgi;
    uwsgi_temp_path %1/uwsgi;
    scgi_temp_path %1/scgi;
    server {
        listen 127.0.0.1:%2 ssl http2;
        ssl_certificate %3;
        ssl_certificate_key %4;
        location / {
            proxy_pass %5;
            proxy_http_version 1.1;
            proxy_set_header Host $http_host;
        }
    }
}
)"_s.arg(dir, QString::number(port), certificatePath, keyPath,
         upstream.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment));
        QFile file(m_dir.filePath(u"nginx.conf"_s));
        if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
            writeError = u"cannot write the nginx configuration"_s;
            return false;
        }
        file.close();
        m_process.start(u"/usr/sbin/nginx"_s,
                        {u"-p"_s, dir, u"-e"_s, m_dir.filePath(u"early.log"_s), u"-c"_s, file.fileName()});
        return true;
    });
    if (m_port != 0)
        return true;
    m_error = !writeError.isEmpty() ? writeError
                                    : u"nginx did not come up: "_s + m_process.errorString() + u'\n'
            + ServerProcess::tail(log) + ServerProcess::tail(m_dir.filePath(u"error.log"_s));
    stop();
    return false;
}

void NginxProxy::stop()
{
    ServerProcess::stop(m_process);
}

QUrl NginxProxy::url(const QString &path) const
{
    return LoopbackPort::url(u"https"_s, m_port, path);
}
