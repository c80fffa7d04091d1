#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QString>

class PreferencesRepository;

// Keeps the theme mode ("system", "light" or "dark") and the accent, and
// applies them to the application: CalendarProxyStyle (installed once and
// kept), the palette and the style sheet. While the mode is "system" the theme
// follows the system's colour scheme.
class ThemeManager : public QObject
{
    Q_OBJECT
public:
    // `preferences` is not owned and may be null: then nothing is stored.
    explicit ThemeManager(PreferencesRepository *preferences, QObject *parent = nullptr);

    QString mode() const { return m_mode; }

    // Reads mode and accent from the preferences and applies them.
    void load();
    // Applies `mode` with the current accent. Any mode other than "dark" and
    // "system" is light.
    void apply(const QString &mode);
    void setMode(const QString &mode);
    // An empty accent means the theme's own.
    void setAccentColor(const QString &accent);

    static QPalette buildPalette();

    // Makes every AppState initialised from now on create its manager (and
    // load it). Runs by itself when the application object of a program that
    // links the theme starts.
    static void install();

Q_SIGNALS:
    void modeChanged(const QString &mode);
    void accentChanged(const QColor &accent);

private:
    void onColorSchemeChanged();

    PreferencesRepository *m_preferences = nullptr;
    QString m_mode;
};
