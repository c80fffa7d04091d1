#pragma once

#include <QList>
#include <QMutex>
#include <QStringList>
#include <QtGlobal>

// Captures every log line, of every category and level and from any thread,
// while alive, each as "<category>: <message>". One capture at a time.
// Whatever the logging rules let through reaches it, so a test that wants
// every level sets QT_LOGGING_RULES="*.debug=true".
class LogCapture
{
public:
    LogCapture()
    {
        QMutexLocker lock(&s_mutex);
        s_lines.clear();
        s_types.clear();
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

    // The lines written at info, warning or critical level: what a user's
    // log keeps when debug output is off.
    static QStringList linesAboveDebug()
    {
        QMutexLocker lock(&s_mutex);
        QStringList out;
        for (qsizetype i = 0; i < s_lines.size(); ++i) {
            if (s_types.at(i) != QtDebugMsg)
                out.append(s_lines.at(i));
        }
        return out;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        QMutexLocker lock(&s_mutex);
        s_types.append(type);
        s_lines.append(QString::fromUtf8(context.category ? context.category : "") + QStringLiteral(": ") + message);
    }
    static inline QMutex s_mutex;
    static inline QStringList s_lines;
    static inline QList<QtMsgType> s_types;
    QtMessageHandler m_previous = nullptr;
};
