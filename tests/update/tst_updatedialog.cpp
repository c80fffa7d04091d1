#include "updatedialog.h"

#include "appresources.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;
using TolmUpdate::Artifact;
using TolmUpdate::UpdateDialog;

// Stands in for the browser: QDesktopServices hands it every https URL.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

namespace {

Artifact release()
{
    Artifact a;
    a.version = u"1.4.0"_s;
    a.releaseDate = QDate(2025, 3, 18);
    a.url = QUrl(u"https://downloads.example.org/calendar-1.4.0.msi"_s);
    a.size = 48213504;
    a.releaseNotesUrl = QUrl(u"https://example.org/notes/1.4.0"_s);
    return a;
}

QString labelText(const QWidget *dialog, const QString &name)
{
    const auto *label = dialog->findChild<QLabel *>(name);
    return label ? label->text() : u"<no %1>"_s.arg(name);
}

// Shown the way the application shows it: created with new, never deleted by the caller.
QPointer<UpdateDialog> showDialog(const Artifact &artifact, QWidget *parent = nullptr)
{
    auto *dialog = new UpdateDialog(artifact, u"1.3.0"_s, u"Quillmarten Calendar"_s, parent);
    dialog->show();
    return dialog;
}

} // namespace

class TestUpdateDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void translationsLoadAndTranslate_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::newRow("English is the source text") << u"en"_s << u"Update available"_s;
        QTest::newRow("Spanish") << u"es"_s << u"Actualización disponible"_s;
        QTest::newRow("German") << u"de"_s << u"Aktualisierung verfügbar"_s;
        QTest::newRow("French") << u"fr"_s << u"Mise à jour disponible"_s;
        QTest::newRow("Japanese") << u"ja"_s << u"アップデートがあります"_s;
    }

    void translationsLoadAndTranslate()
    {
        QFETCH(QString, language);
        QFETCH(QString, title);

        QTranslator translator;
        QVERIFY2(translator.load(AppResources::translationPath(language)),
                 qPrintable(AppResources::translationPath(language)));
        // English carries plural forms only; while it has none the translator
        // is empty and Qt declines to install it, which changes nothing.
        if (!translator.isEmpty())
            QVERIFY(QCoreApplication::installTranslator(&translator));
        else
            QCOMPARE(language, u"en"_s);
        // Through the real dialog, so a context that drifted from its class shows.
        UpdateDialog dialog(Artifact(), u"1.3.0"_s, u"Calendar"_s);
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(dialog.windowTitle(), title);
    }

    void init() { QDesktopServices::setUrlHandler(u"https"_s, &m_browser, "open"); }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(u"https"_s);
        m_browser.opened.clear();
    }

    // Date and size in the user's locale; what is unknown says so. The dialog
    // is not modal and deletes itself on close.
    void showsTheRelease()
    {
        QWidget parent;
        const QPointer<UpdateDialog> dialog = showDialog(release(), &parent);
        QVERIFY(!dialog->isModal());
        QCOMPARE(labelText(dialog, u"dateLabel"_s), QLocale().toString(QDate(2025, 3, 18), QLocale::LongFormat));
        QCOMPARE(labelText(dialog, u"sizeLabel"_s), QLocale().formattedDataSize(48213504));
        QVERIFY(!dialog->findChild<QLabel *>(u"mandatoryLabel"_s));
        dialog->close();
        QTRY_VERIFY(dialog.isNull());

        Artifact a = release();
        a.releaseDate = QDate();
        a.size = 0;
        a.releaseNotesUrl = QUrl();
        a.mandatory = true;
        const QPointer<UpdateDialog> unknown = showDialog(a);
        QCOMPARE(labelText(unknown, u"dateLabel"_s), u"Unknown"_s);
        QCOMPARE(labelText(unknown, u"sizeLabel"_s), u"Unknown"_s);
        QVERIFY(!unknown->findChild<QLabel *>(u"releaseNotesLabel"_s));
        QVERIFY(unknown->findChild<QLabel *>(u"mandatoryLabel"_s));
        unknown->close();
        QTRY_VERIFY(unknown.isNull());
    }

    void downloadOpensTheArtifactUrlAndCloses()
    {
        const QPointer<UpdateDialog> dialog = showDialog(release());

        auto *download = dialog->findChild<QPushButton *>(u"downloadButton"_s);
        QVERIFY(download);
        QTest::mouseClick(download, Qt::LeftButton);
        QCOMPARE(m_browser.opened, QList<QUrl>{release().url});
        QTRY_VERIFY(dialog.isNull());
    }

    void releaseNotesOpenTheManifestUrlNotTheLabelText()
    {
        const QPointer<UpdateDialog> dialog = showDialog(release());

        auto *notes = dialog->findChild<QLabel *>(u"releaseNotesLabel"_s);
        QVERIFY(notes);
        Q_EMIT notes->linkActivated(u"https://elsewhere.example.net/"_s);
        QCOMPARE(m_browser.opened, QList<QUrl>{release().releaseNotesUrl});
        QVERIFY(dialog->isVisible());

        QTest::mouseClick(dialog->findChild<QPushButton *>(u"laterButton"_s), Qt::LeftButton);
        QTRY_VERIFY(dialog.isNull());
        QCOMPARE(m_browser.opened.size(), 1);
    }

private:
    UrlCatcher m_browser;
};

QTEST_MAIN(TestUpdateDialog)
#include "tst_updatedialog.moc"
