#include "thememanager.h"

#include "appstate.h"
#include "calendarproxystyle.h"
#include "colorscheme.h"
#include "preferencesrepository.h"
#include "theme.h"

#include <QApplication>

using namespace Qt::StringLiterals;

namespace {

const QString kThemeKey = u"ui/theme"_s;
const QString kAccentKey = u"ui/accentColor"_s;

} // namespace

void ThemeManager::install()
{
    AppState::setThemeManagerFactory([](PreferencesRepository *preferences, QObject *parent) -> ThemeManager * {
        auto *manager = new ThemeManager(preferences, parent);
        manager->load();
        return manager;
    });
}

ThemeManager::ThemeManager(PreferencesRepository *preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_mode(u"system"_s)
{
    if (ColorScheme *scheme = ColorScheme::instance())
        connect(scheme, &ColorScheme::schemeChanged, this, &ThemeManager::onColorSchemeChanged);
}

void ThemeManager::load()
{
    if (m_preferences) {
        m_mode = m_preferences->getString(kThemeKey, u"system"_s);
        Theme::setAccent(m_preferences->get(kAccentKey).value_or(QString()));
    }
    apply(m_mode);
}

void ThemeManager::apply(const QString &mode)
{
    if (!CalendarProxyStyle::ofApplication())
        QApplication::setStyle(new CalendarProxyStyle);

    int dark = 0;
    if (mode == u"dark"_s) {
        dark = 1;
    } else if (mode == u"system"_s) {
        const ColorScheme *scheme = ColorScheme::instance();
        dark = scheme && scheme->scheme() == ColorScheme::Scheme::Dark ? 1 : 0;
    }
    Theme::setMode(dark);

    const QPalette palette = buildPalette();
    if (ColorScheme *scheme = ColorScheme::instance())
        scheme->setApplicationPalette(palette);
    else
        QApplication::setPalette(palette);
    // Only a widget application has a style sheet: a state started under a
    // plain QGuiApplication (the sync benchmarks) keeps the palette alone.
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        app->setStyleSheet(Theme::stylesheet());
}

void ThemeManager::setMode(const QString &mode)
{
    if (mode == m_mode) {
        apply(m_mode);
        return;
    }
    m_mode = mode;
    if (m_preferences)
        m_preferences->set(kThemeKey, mode);
    apply(m_mode);
    Q_EMIT modeChanged(m_mode);
}

void ThemeManager::setAccentColor(const QString &accent)
{
    Theme::setAccent(accent);
    if (m_preferences) {
        // No row stands for the default accent.
        if (accent.isEmpty())
            m_preferences->remove(kAccentKey);
        else
            m_preferences->set(kAccentKey, accent);
    }
    apply(m_mode);
    Q_EMIT accentChanged(Theme::accent());
}

QPalette ThemeManager::buildPalette()
{
    QPalette palette;
    const auto all = [&palette](QPalette::ColorRole role, const QColor &color) {
        palette.setBrush(QPalette::All, role, QBrush(color));
    };
    all(QPalette::Window, Theme::canvas());
    all(QPalette::WindowText, Theme::textPrimary());
    all(QPalette::Base, Theme::surface());
    all(QPalette::AlternateBase, Theme::surfaceMuted());
    all(QPalette::ToolTipBase, Theme::textPrimary());
    all(QPalette::ToolTipText, Theme::surface());
    all(QPalette::Text, Theme::textPrimary());
    all(QPalette::Button, Theme::surface());
    all(QPalette::ButtonText, Theme::textPrimary());
    all(QPalette::BrightText, Theme::danger());
    all(QPalette::Highlight, Theme::accent());
    all(QPalette::HighlightedText, QColor(Qt::white));
    all(QPalette::Mid, Theme::border());
    all(QPalette::Light, Theme::surface());
    all(QPalette::Dark, Theme::borderStrong());
    palette.setBrush(QPalette::Disabled, QPalette::Text, QBrush(Theme::textDisabled()));
    palette.setBrush(QPalette::Disabled, QPalette::ButtonText, QBrush(Theme::textDisabled()));
    palette.setBrush(QPalette::Disabled, QPalette::WindowText, QBrush(Theme::textDisabled()));
    return palette;
}

void ThemeManager::onColorSchemeChanged()
{
    if (m_mode == u"system"_s)
        apply(m_mode);
}
