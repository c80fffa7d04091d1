#include "icalendar.h"
#include "icalfields.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Real-world text: hand-written files for odd producers (data/*.ics with the
// expected fields in a .json of the same name) and files written by
// python3-icalendar during the run, with the values that library put in them.
class TestIcalFixtures : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_generated;
    QString m_skipReason;

    static QString python() { return u"/usr/bin/python3"_s; }

    // Compares every listed event and task of one file with what the reader gives.
    static void compareFile(const QString &path, const QJsonObject &expected)
    {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
        const QString text = QString::fromUtf8(file.readAll());
        QCOMPARE(IcalFields::differences(expected.value("events"_L1).toArray(),
                                         IcalFields::fieldsOf(ICalendar::parseEvents(text))),
                 QString());
        QCOMPARE(IcalFields::differences(expected.value("tasks"_L1).toArray(),
                                         IcalFields::fieldsOf(ICalendar::parseTasks(text))),
                 QString());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_generated.isValid());
        QProcess probe;
        probe.start(python(), {u"-c"_s, u"import icalendar, pytz"_s});
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0) {
            m_skipReason = u"/usr/bin/python3 cannot import icalendar and pytz"_s;
            return;
        }
        QProcess gen;
        gen.start(python(),
                  {QStringLiteral(CALENDAR_SOURCE_DIR "/tests/core/ical/make_fixtures.py"), m_generated.path()});
        QVERIFY(gen.waitForFinished(60000));
        QVERIFY2(gen.exitCode() == 0, gen.readAllStandardError().constData());
    }

    void handWritten_data()
    {
        QTest::addColumn<QString>("path");
        const QDir dir(QStringLiteral(CALENDAR_TEST_DATA_DIR));
        const QStringList files = dir.entryList({u"*.ics"_s}, QDir::Files, QDir::Name);
        QVERIFY(!files.isEmpty());
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << dir.filePath(f);
    }
    void handWritten()
    {
        QFETCH(QString, path);
        QFile json(path.chopped(4) + u".json"_s);
        QVERIFY2(json.open(QIODevice::ReadOnly), qPrintable(json.fileName()));
        compareFile(path, QJsonDocument::fromJson(json.readAll()).object());
    }

    void fromPythonIcalendar_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QJsonObject>("expected");
        if (!m_skipReason.isEmpty()) {
            QTest::newRow("producer missing") << QString() << QJsonObject();
            return;
        }
        QFile json(m_generated.filePath(u"expected.json"_s));
        QVERIFY(json.open(QIODevice::ReadOnly));
        const QJsonArray files = QJsonDocument::fromJson(json.readAll()).object().value("files"_L1).toArray();
        QVERIFY(!files.isEmpty());
        for (const QJsonValue &f : files) {
            const QString name = f.toObject().value("file"_L1).toString();
            QTest::newRow(qPrintable(name)) << m_generated.filePath(name) << f.toObject();
        }
    }
    void fromPythonIcalendar()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        QFETCH(QString, path);
        QFETCH(QJsonObject, expected);
        compareFile(path, expected);
    }
};

QTEST_GUILESS_MAIN(TestIcalFixtures)
#include "tst_icalfixtures.moc"
