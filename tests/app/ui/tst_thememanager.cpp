#include "appstatefixture.h"
#include "calendarproxystyle.h"
#include "colorscheme.h"
#include "database.h"
#include "preferencesrepository.h"
#include "theme.h"
#include "thememanager.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// WCAG's contrast ratio of two opaque colours.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A palette as a system in dark or light mode would hand it out.
QPalette systemPalette(bool dark)
{
    QPalette palette;
    palette.setColor(QPalette::Window, dark ? QColor(0x30, 0x30, 0x30) : QColor(0xef, 0xef, 0xef));
    palette.setColor(QPalette::WindowText, dark ? QColor(0xee, 0xee, 0xee) : QColor(0x10, 0x10, 0x10));
    return palette;
}

} // namespace

class TestThemeManager : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
    std::unique_ptr<PreferencesRepository> m_preferences;

private Q_SLOTS:
    void init()
    {
        // Back to a light system, the default accent and an empty settings
        // table before each case.
        QApplication::setPalette(systemPalette(false));
        Theme::setAccent(QString());
        m_preferences.reset();
        m_database = std::make_unique<Database>();
        static int round = 0;
        QVERIFY(m_database->open(m_dir.filePath(u"calendar-%1.db"_s.arg(++round))));
        QVERIFY(m_database->migrate());
        m_preferences = std::make_unique<PreferencesRepository>(m_database.get());
    }
    void cleanup()
    {
        m_preferences.reset();
        m_database.reset();
    }

    void loadReadsThePreferences_data()
    {
        QTest::addColumn<QString>("theme"); // empty: no row
        QTest::addColumn<QString>("accent"); // empty: no row
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QColor>("effective");
        QTest::newRow("nothing stored: system, default accent")
            << QString() << QString() << u"system"_s << false << QColor(u"#4285f4"_s);
        QTest::newRow("dark with a red accent") << u"dark"_s << u"#ff0000"_s << u"dark"_s << true << QColor(255, 0, 0);
    }
    void loadReadsThePreferences()
    {
        QFETCH(QString, theme);
        QFETCH(QString, accent);
        QFETCH(QString, mode);
        QFETCH(bool, dark);
        QFETCH(QColor, effective);
        if (!theme.isEmpty())
            QVERIFY(m_preferences->set(u"ui/theme"_s, theme));
        if (!accent.isEmpty())
            QVERIFY(m_preferences->set(u"ui/accentColor"_s, accent));
        ThemeManager manager(m_preferences.get());
        manager.load();
        QCOMPARE(manager.mode(), mode);
        QCOMPARE(Theme::isDark(), dark);
        QCOMPARE(Theme::accentName(), accent);
        QCOMPARE(Theme::accent(), effective);
    }

    // The state knows no widgets: a program that draws with the theme gets
    // the manager the state makes, with the stored mode applied at start.
    void startedStateAppliesTheStoredTheme()
    {
        AppStateFixture fixture;
        fixture.prepare({u"INSERT OR REPLACE INTO settings (key, value) VALUES ('ui/theme', 'dark')"_s});
        AppState *state = fixture.start();
        QVERIFY(state);
        QVERIFY(state->themeManager());
        QCOMPARE(state->themeManager()->mode(), u"dark"_s);
        QVERIFY(Theme::isDark());
    }

    void changesAreStored()
    {
        ThemeManager manager(m_preferences.get());
        manager.load();
        QSignalSpy writes(m_preferences.get(), &PreferencesRepository::changed);
        QSignalSpy modeChanged(&manager, &ThemeManager::modeChanged);
        manager.setMode(u"system"_s); // unchanged: nothing written
        QCOMPARE(writes.count(), 0);
        manager.setMode(u"dark"_s);
        manager.setMode(u"dark"_s);
        QCOMPARE(modeChanged.count(), 1);
        QVERIFY(Theme::isDark());
        QCOMPARE(m_preferences->get(u"ui/theme"_s), std::optional<QString>(u"dark"_s));

        manager.setAccentColor(u"not a colour"_s); // kept as the user typed it
        QCOMPARE(m_preferences->get(u"ui/accentColor"_s), std::optional<QString>(u"not a colour"_s));
        manager.setAccentColor(QString());
        QCOMPARE(m_preferences->get(u"ui/accentColor"_s), std::nullopt);
    }

    void modes_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("systemDark");
        QTest::addColumn<bool>("dark");
        QTest::newRow("dark on a light system") << u"dark"_s << false << true;
        QTest::newRow("light on a dark system") << u"light"_s << true << false;
        QTest::newRow("system, light") << u"system"_s << false << false;
        QTest::newRow("system, dark") << u"system"_s << true << true;
        QTest::newRow("unknown mode is light") << u"sepia"_s << true << false;
    }
    void modes()
    {
        QFETCH(QString, mode);
        QFETCH(bool, systemDark);
        QFETCH(bool, dark);
        QApplication::setPalette(systemPalette(systemDark));
        ThemeManager manager(nullptr);
        manager.apply(mode);
        QCOMPARE(Theme::isDark(), dark);
        QCOMPARE(QApplication::palette().color(QPalette::Window), Theme::canvas());
        QVERIFY(qApp->styleSheet().contains(dark ? u"#6ba1f7"_s : u"#4285f4"_s));
    }

    void accent_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("accent");
        QTest::addColumn<QColor>("effective");
        QTest::newRow("red") << u"light"_s << u"#ff0000"_s << QColor(255, 0, 0);
        QTest::newRow("empty: dark default") << u"dark"_s << QString() << QColor(u"#6ba1f7"_s);
        QTest::newRow("not a colour: default") << u"light"_s << u"#zzz"_s << QColor(u"#4285f4"_s);
    }
    void accent()
    {
        QFETCH(QString, mode);
        QFETCH(QString, accent);
        QFETCH(QColor, effective);
        ThemeManager manager(nullptr);
        manager.setMode(mode);
        QSignalSpy spy(&manager, &ThemeManager::accentChanged);
        manager.setAccentColor(accent);
        QCOMPARE(spy.at(0).at(0).value<QColor>(), effective);
        QVERIFY(qApp->styleSheet().contains(effective.name()));
        QCOMPARE(QApplication::palette().color(QPalette::Highlight), effective);
    }

    // A default button's label stays readable on whatever accent the user
    // picks, dark on light and light on dark, in either mode: measured on
    // the drawn button, its commonest colour against its strongest one.
    void defaultButtonLabelReadsOnAnyAccent_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("accent");
        const QStringList accents{QString(),   u"#1a237e"_s, u"#000000"_s, u"#767676"_s, u"#777777"_s,
                                  u"#ff0000"_s, u"#00c853"_s, u"#ffeb3b"_s, u"#ffffff"_s, u"#6ba1f7"_s};
        for (const QString &mode : {u"light"_s, u"dark"_s}) {
            for (const QString &accent : accents)
                QTest::addRow("%s, %s", qPrintable(mode), accent.isEmpty() ? "default" : qPrintable(accent))
                    << mode << accent;
        }
    }
    void defaultButtonLabelReadsOnAnyAccent()
    {
        QFETCH(QString, mode);
        QFETCH(QString, accent);
        ThemeManager manager(nullptr);
        manager.setMode(mode);
        manager.setAccentColor(accent);
        QPushButton button(u"Open Calendar"_s);
        button.setDefault(true);
        button.ensurePolished();
        button.resize(button.sizeHint());
        const QImage image = button.grab().toImage();
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y) | 0xff000000u];
        }
        const QColor background = QColor::fromRgb(
            std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
                return a.second < b.second;
            })->first);
        QCOMPARE(background, Theme::accent());
        double strongest = 1;
        for (auto it = counts.keyBegin(); it != counts.keyEnd(); ++it)
            strongest = std::max(strongest, contrast(background, QColor::fromRgb(*it)));
        QVERIFY2(strongest >= 4.5, qPrintable(QString::number(strongest)));
        manager.setAccentColor(QString());
    }

    // "system" follows the palette the system hands out; fixed modes do not.
    // The theme's own palette says nothing about the system: coming back to
    // "system" must find the dark system it left.
    void systemPaletteChanges()
    {
        ThemeManager manager(nullptr);
        manager.setMode(u"system"_s);
        QApplication::setPalette(systemPalette(true));
        QVERIFY(Theme::isDark());
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(u"#14161b"_s));
        manager.setMode(u"light"_s);
        QVERIFY(!Theme::isDark());
        QApplication::setPalette(systemPalette(true));
        QVERIFY(!Theme::isDark());
        QCOMPARE(ColorScheme::instance()->scheme(), ColorScheme::Scheme::Dark);
        manager.setMode(u"system"_s);
        QVERIFY(Theme::isDark());
        manager.setMode(u"dark"_s);
        QApplication::setPalette(systemPalette(false));
        QVERIFY(Theme::isDark());
    }

    void proxyStyleSurvivesRepeatedApplies()
    {
        ThemeManager manager(nullptr);
        manager.apply(u"light"_s);
        QPointer<CalendarProxyStyle> proxy = CalendarProxyStyle::ofApplication();
        QVERIFY(proxy);
        // With a style sheet set, the application's style is Qt's wrapper.
        QVERIFY(!qobject_cast<CalendarProxyStyle *>(QApplication::style()));
        for (const QString &mode : {u"dark"_s, u"system"_s, u"light"_s, u"dark"_s}) {
            manager.apply(mode);
            QCOMPARE(CalendarProxyStyle::ofApplication(), proxy.data());
        }
        manager.setAccentColor(u"#00aa00"_s);
        QCOMPARE(CalendarProxyStyle::ofApplication(), proxy.data());
        QCOMPARE(qApp->findChildren<CalendarProxyStyle *>().size(), 1);
    }

    // The style sheet leaves the indicator alone, so a real check box is
    // painted by the proxy, in the accent.
    void checkBoxIsPaintedByTheProxyUnderTheStyleSheet()
    {
        ThemeManager manager(nullptr);
        manager.setMode(u"light"_s);
        manager.setAccentColor(u"#ff0000"_s);
        QCheckBox box(u"Remind me"_s);
        box.setChecked(true);
        box.ensurePolished();
        box.resize(box.sizeHint());
        const QImage image = box.grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                red += image.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
        }
        QVERIFY2(red > 50, qPrintable(QString::number(red)));
        manager.setAccentColor(QString());
    }
};

QTEST_MAIN(TestThemeManager)
#include "tst_thememanager.moc"
