#include "colorscheme.h"

#include <QEvent>
#include <QGuiApplication>

ColorScheme *ColorScheme::instance()
{
    static QPointer<ColorScheme> watcher;
    if (!watcher && qGuiApp)
        watcher = new ColorScheme(qGuiApp);
    return watcher;
}

ColorScheme::Scheme ColorScheme::fromPalette(const QPalette &palette)
{
    const int window = palette.color(QPalette::Active, QPalette::Window).lightness();
    const int text = palette.color(QPalette::Active, QPalette::WindowText).lightness();
    return text > window ? Scheme::Dark : Scheme::Light;
}

ColorScheme::ColorScheme(QObject *parent)
    : QObject(parent)
    , m_scheme(fromPalette(QGuiApplication::palette()))
{
    // The application object receives ApplicationPaletteChange after every
    // change of the application palette, the platform's included.
    qGuiApp->installEventFilter(this);
}

void ColorScheme::setApplicationPalette(const QPalette &palette)
{
    m_installingOwnPalette = true;
    QGuiApplication::setPalette(palette);
    m_installingOwnPalette = false;
}

bool ColorScheme::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qGuiApp && event->type() == QEvent::ApplicationPaletteChange && !m_installingOwnPalette) {
        const Scheme scheme = fromPalette(QGuiApplication::palette());
        if (scheme != m_scheme) {
            m_scheme = scheme;
            Q_EMIT schemeChanged(scheme);
        }
    }
    return QObject::eventFilter(watched, event);
}
