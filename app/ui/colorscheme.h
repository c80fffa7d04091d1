#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>

// The system's light or dark preference and its changes. Qt 6.4 has no
// QStyleHints::colorScheme, so the scheme is read from the palette the system
// gives the application: dark when its window text is lighter than its window.
//
// The theme installs an application palette of its own; that one must not be
// taken for the system's, or a light theme chosen by the user would make the
// "system" mode light for good. Palettes of the program itself therefore go
// through setApplicationPalette. Qt 6.4 offers no public way to read the
// platform's palette underneath an application palette, so a system switch is
// seen when the application palette itself changes from outside the theme.
class ColorScheme : public QObject
{
    Q_OBJECT
public:
    enum class Scheme { Light, Dark };
    Q_ENUM(Scheme)

    // The watcher of the running application, made on first use as a child of
    // the application object. Null without a QGuiApplication.
    static ColorScheme *instance();

    static Scheme fromPalette(const QPalette &palette);

    Scheme scheme() const { return m_scheme; }

    // Installs `palette` as the application palette without reading it as the
    // system's scheme.
    void setApplicationPalette(const QPalette &palette);

Q_SIGNALS:
    void schemeChanged(ColorScheme::Scheme scheme);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ColorScheme(QObject *parent);

    Scheme m_scheme = Scheme::Light;
    bool m_installingOwnPalette = false;
};
