#include "appresources.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

// The fonts this build fetched at configure time (may be none when offline).
const QStringList BundledFonts = QString::fromLatin1(CALENDAR_BUNDLED_FONTS).split(u',', Qt::SkipEmptyParts);

const QString I18nDir = QStringLiteral(CALENDAR_SOURCE_DIR "/resources/i18n");

QStringList placeholders(const QString &text)
{
    static const QRegularExpression number(u"%(\\d+|n)"_s);
    QStringList found;
    for (auto it = number.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

// The texts of a <translation>: its plural forms, or else its own text.
QStringList translationForms(QXmlStreamReader &xml)
{
    QStringList forms;
    QString text;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == "numerusform"_L1)
            forms.append(xml.readElementText());
        else if (xml.isCharacters())
            text += xml.text();
        else if (xml.isEndElement() && xml.name() == "translation"_L1)
            break;
    }
    if (forms.isEmpty() && !text.isEmpty())
        forms.append(text);
    return forms;
}

// The "&" that marks a shortcut letter; "&&" is a literal ampersand.
int accelerators(const QString &text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (i + 1 < text.size() && text.at(i + 1) == u'&')
            ++i;
        else
            ++count;
    }
    return count;
}

} // namespace

class TestResources : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void translationsKeepPlaceholdersAndAccelerators_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = QDir(I18nDir).entryList({u"calendar_*.ts"_s});
        QVERIFY(files.size() >= 5);
        for (const QString &f : files)
            QTest::newRow(qPrintable(f)) << f;
    }

    // Read after a refresh from the sources (as update_translations does it),
    // so that a text added to the code without a translation shows as one.
    // A translation that drops or invents a %1 shows the wrong text or a raw
    // "%2"; one that loses its "&" loses the keyboard shortcut, and one with
    // two underlines a letter that does nothing. Each plural form is checked
    // on its own.
    void translationsKeepPlaceholdersAndAccelerators()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString copy = dir.filePath(file);
        QVERIFY(QFile::copy(I18nDir + u'/' + file, copy));
        QStringList arguments{u"-silent"_s, u"-locations"_s, u"relative"_s, u"-extensions"_s, u"cpp,h"_s};
        arguments += QString::fromUtf8(CALENDAR_TRANSLATED_DIRS).split(u',', Qt::SkipEmptyParts);
        // English is the source language: its file carries plural forms only.
        if (file.endsWith(u"_en.ts"_s))
            arguments.append(u"-pluralonly"_s);
        arguments += {u"-ts"_s, copy};
        QProcess lupdate;
        lupdate.start(QStringLiteral(CALENDAR_LUPDATE), arguments);
        QVERIFY(lupdate.waitForFinished(30000));
        QCOMPARE(lupdate.exitCode(), 0);
        QFile ts(copy);
        QVERIFY(ts.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&ts);
        QString source;
        QStringList faults;
        int checked = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == "source"_L1) {
                source = xml.readElementText();
            } else if (xml.name() == "translation"_L1) {
                // Vanished and obsolete entries are not shown.
                const QStringView type = xml.attributes().value("type"_L1);
                const QStringList forms = translationForms(xml);
                if (type == "unfinished"_L1)
                    faults.append(u"untranslated: "_s + source);
                if (!type.isEmpty())
                    continue;
                for (const QString &form : forms) {
                    if (placeholders(form) != placeholders(source))
                        faults.append(u"placeholders: "_s + source + u" -> "_s + form);
                    if (accelerators(form) != accelerators(source) || accelerators(form) > 1)
                        faults.append(u"accelerators: "_s + source + u" -> "_s + form);
                    ++checked;
                }
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"\n"_s)));
        QVERIFY(checked > 0);
    }

    void loadFontsReportsFamiliesAndFailures()
    {
        const AppResources::LoadedFonts fonts = AppResources::loadFonts();
        QStringList expectedFailures;
        for (const QString &path : AppResources::fontPaths()) {
            if (!BundledFonts.contains(path.section(u'/', -1)))
                expectedFailures.append(path);
        }
        QCOMPARE(fonts.failed, expectedFailures);

        const QStringList paths = AppResources::fontPaths();
        const auto familyIfBundled = [&](int index, const QString &family) {
            return BundledFonts.contains(paths.at(index).section(u'/', -1)) ? family : QString();
        };
        QCOMPARE(fonts.sansFamily, familyIfBundled(0, u"IBM Plex Sans"_s));
        QCOMPARE(fonts.monoFamily, familyIfBundled(2, u"IBM Plex Mono"_s));
        QCOMPARE(fonts.iconFamily, familyIfBundled(3, u"Material Icons"_s));
    }

    void applicationIcon()
    {
        const QImage icon(AppResources::iconPath());
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.size(), QSize(256, 256));
    }

    void desktopFileValidates()
    {
        const QString validator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
        if (validator.isEmpty())
            QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils).");
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(validator, {QStringLiteral(CALENDAR_SOURCE_DIR "/resources/quillmarten-calendar.desktop")});
        QVERIFY(process.waitForFinished(30000));
        const QString output = QString::fromLocal8Bit(process.readAll());
        // Hints and warnings count as failures too: they are how the next error starts.
        QVERIFY2(output.isEmpty(), qPrintable(output));
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
