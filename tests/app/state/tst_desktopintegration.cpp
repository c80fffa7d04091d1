#include "desktopentry.h"
#include "desktopintegration.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeAll(const QString &path, const QString &text)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

// desktop-file-validate's verdict: empty when the file is clean.
QString validate(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (tool.isEmpty())
        return u"desktop-file-validate is missing (package desktop-file-utils)"_s;
    QProcess process;
    process.start(tool, {path});
    if (!process.waitForFinished(10000))
        return u"desktop-file-validate did not finish"_s;
    const QString output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    if (process.exitCode() != 0 || output.contains(u"error"_s) || output.contains(u"warning"_s))
        return output.isEmpty() ? u"exit code %1"_s.arg(process.exitCode()) : output;
    return QString();
}

} // namespace

class TestDesktopIntegration : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_config;
    QString m_data;

    QString autostartFile() const { return m_config + u"/autostart/QuillmartenCalendar.desktop"_s; }
    QString associationFile() const { return m_data + u"/applications/com.quillmarten.calendar.desktop"_s; }

private Q_SLOTS:
    void init()
    {
        static int round = 0;
        ++round;
        m_config = m_dir.filePath(u"config-%1"_s.arg(round));
        m_data = m_dir.filePath(u"data-%1"_s.arg(round));
        qputenv("XDG_CONFIG_HOME", m_config.toUtf8());
        qputenv("XDG_DATA_HOME", m_data.toUtf8());
        qunsetenv("CALENDAR_INSTANCE");
    }

    void autostartOnAndOff()
    {
        QVERIFY(!isAutostartEnabled());
        QVERIFY(setAutostartEnabled(true));
        QVERIFY(isAutostartEnabled());
        const QString error = validate(autostartFile());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QString text = readAll(autostartFile());
        QCOMPARE(DesktopEntry::value(text, u"Exec"_s),
                 std::optional<QString>(QCoreApplication::applicationFilePath() + u" --background"_s));

        QVERIFY(setAutostartEnabled(false));
        QVERIFY(!QFileInfo::exists(autostartFile()));
        QVERIFY(!isAutostartEnabled());
        QVERIFY(setAutostartEnabled(false)); // already off
    }

    void autostartSwitchedOffByTheDesktop_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("hidden by the desktop")
            << u"[Desktop Entry]\nType=Application\nName=X\nExec=/bin/true\nHidden=true\n"_s << false;
        QTest::newRow("empty Exec") << u"[Desktop Entry]\nType=Application\nName=X\nExec=\n"_s << false;
        QTest::newRow("Exec only in another group")
            << u"[Desktop Entry]\nName=X\n[Desktop Action new]\nExec=/bin/true\n"_s << false;
        QTest::newRow("spaces around =") << u"[Desktop Entry]\nExec = /bin/true\n"_s << true;
    }
    void autostartSwitchedOffByTheDesktop()
    {
        QFETCH(QString, entry);
        QFETCH(bool, enabled);
        writeAll(autostartFile(), entry);
        QCOMPARE(isAutostartEnabled(), enabled);
    }

    void icsAssociation()
    {
        QVERIFY(registerIcsFileAssociation());
        const QString error = validate(associationFile());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QString text = readAll(associationFile());
        QCOMPARE(DesktopEntry::value(text, u"MimeType"_s), std::optional<QString>(u"text/calendar;"_s));
        QCOMPARE(DesktopEntry::value(text, u"Exec"_s),
                 std::optional<QString>(QCoreApplication::applicationFilePath() + u" --ics %f"_s));
        QVERIFY(registerIcsFileAssociation()); // every start
        QCOMPARE(readAll(associationFile()), text);
    }

    // Fault mended: both used to claim success whatever happened.
    void failuresAreReported()
    {
        writeAll(m_config + u"/autostart"_s, u"a file where the folder belongs"_s);
        QVERIFY(!setAutostartEnabled(true));
        QVERIFY(!isAutostartEnabled());
        writeAll(m_data + u"/applications"_s, u"a file where the folder belongs"_s);
        QVERIFY(!registerIcsFileAssociation());
    }

    void execQuoting_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << QStringList{u"/usr/bin/cal"_s, u"--background"_s} << u"/usr/bin/cal --background"_s;
        QTest::newRow("space") << QStringList{u"/opt/My Cal/cal"_s} << u"\"/opt/My Cal/cal\""_s;
        QTest::newRow("dollar and quote") << QStringList{u"/opt/$x\"y/cal"_s} << u"\"/opt/\\\\$x\\\\\"y/cal\""_s;
        QTest::newRow("backslash: four") << QStringList{u"/opt/a\\b"_s} << u"\"/opt/a\\\\\\\\b\""_s;
        QTest::newRow("percent doubled") << QStringList{u"/opt/100%/cal"_s} << u"/opt/100%%/cal"_s;
        QTest::newRow("empty argument") << QStringList{u"/bin/cal"_s, QString()} << u"/bin/cal \"\""_s;
    }
    void execQuoting()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, exec);
        QCOMPARE(DesktopEntry::execValue(arguments), exec);
        const QString path = m_dir.filePath(u"quoting.desktop"_s);
        writeAll(path, u"[Desktop Entry]\nType=Application\nName=X\nExec=%1 %f\n"_s.arg(exec));
        const QString error = validate(path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestDesktopIntegration)
#include "tst_desktopintegration.moc"
