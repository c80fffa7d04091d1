#pragma once

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

// Captures every log line, of every category and level and from any thread,
// while alive, each as "<category>: <message>". One capture at a time.
class LogCapture
{
public:
    LogCapture()
    {
        QMutexLocker lock(&s_mutex);
        s_lines.clear();
        m_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    static QStringList lines()
    {
        QMutexLocker lock(&s_mutex);
        return s_lines;
    }
    static QString all() { return lines().join(u'\n'); }

private:
    static void handler(QtMsgType, const QMessageLogContext &context, const QString &message)
    {
        QMutexLocker lock(&s_mutex);
        s_lines.append(QString::fromUtf8(context.category ? context.category : "") + QStringLiteral(": ") + message);
    }
    static inline QMutex s_mutex;
    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};
