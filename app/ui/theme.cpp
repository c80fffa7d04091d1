#include "theme.h"

#include "thememanager.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace Theme {

namespace {

struct State
{
    int dark = 0;
    QString accent;
    QString iconFontFamily = u"Material Icons"_s;
};

State &state()
{
    static State s;
    return s;
}

QColor pick(QRgb light, QRgb dark)
{
    return QColor::fromRgb(state().dark == 1 ? dark : light);
}

// The user's accent, when it is a colour at all.
std::optional<QColor> userAccent()
{
    const QString &name = state().accent;
    if (name.isEmpty())
        return std::nullopt;
    const QColor color(name);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

} // namespace

QColor canvas()
{
    return pick(0xfff6f7f9, 0xff14161b);
}
QColor surface()
{
    return pick(0xffffffff, 0xff1b1e24);
}
QColor surfaceMuted()
{
    return pick(0xfff0f1f4, 0xff23272f);
}
QColor border()
{
    return pick(0xffe3e5ea, 0xff2c313a);
}
QColor borderStrong()
{
    return pick(0xffc9cdd4, 0xff3a404b);
}
QColor textPrimary()
{
    return pick(0xff181b22, 0xffe7e9ee);
}
QColor textMuted()
{
    return pick(0xff6b707a, 0xff9aa0ab);
}
QColor textDisabled()
{
    return pick(0xffa8adb6, 0xff5c626d);
}
QColor danger()
{
    return pick(0xffdc3545, 0xffe74c3c);
}

QColor accent()
{
    if (const auto color = userAccent())
        return *color;
    return pick(0xff4285f4, 0xff6ba1f7);
}

QColor accentMuted()
{
    QColor color = accent();
    color.setAlpha(state().dark == 1 ? 50 : 38);
    return color;
}

void setMode(int dark)
{
    state().dark = dark;
}
bool isDark()
{
    return state().dark == 1;
}

QString accentName()
{
    return state().accent;
}

void setAccent(const QString &accent)
{
    state().accent = accent;
}

QString sansFamily()
{
    return u"IBM Plex Sans"_s;
}
QString iconFontFamily()
{
    return state().iconFontFamily;
}

void setIconFontFamily(const QString &family)
{
    if (!family.isEmpty())
        state().iconFontFamily = family;
}

QColor textOn(const QColor &background)
{
    // Relative luminance of sRGB; black wins above the point where both
    // contrast ratios, (L + 0.05) / 0.05 and 1.05 / (L + 0.05), are equal.
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92f : std::pow((channel + 0.055f) / 1.055f, 2.4f);
    };
    const QColor rgb = background.toRgb();
    const float luminance = 0.2126f * linear(rgb.redF()) + 0.7152f * linear(rgb.greenF())
        + 0.0722f * linear(rgb.blueF());
    return luminance > std::sqrt(1.05f * 0.05f) - 0.05f ? QColor(Qt::black) : QColor(Qt::white);
}

QString cssColor(const QColor &color)
{
    if (color.alpha() == 255)
        return color.name(QColor::HexRgb);
    return u"rgba(%1, %2, %3, %4)"_s.arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alphaF(), 0, 'f', 3);
}

QIcon colorDotIcon(const QString &color)
{
    QColor fill(color);
    if (!fill.isValid())
        fill = QColor(0x9a, 0xa0, 0xa6);
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(1, 1, 12, 12));
    painter.end();
    return QIcon(pixmap);
}

QIcon glyphIcon(char16_t codePoint, int size, const QColor &color)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    // std::round rounds halves away from zero; the clamp keeps a huge size
    // from overflowing the pixel count.
    const double device = std::clamp(std::round(size * ratio), double(INT_MIN), double(INT_MAX));
    const int side = int(device);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    if (!pixmap.isNull()) {
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont font(state().iconFontFamily);
        font.setPixelSize(std::max(size, 1));
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString(QChar(codePoint)));
    }
    return QIcon(pixmap);
}

QString checkListStyleSheet()
{
    return uR"(QListView::indicator {  width: 14px;  height: 14px;  border: 1px solid %1;  border-radius: 3px;  background: %2;}QListView::indicator:checked {  background: %3;  border-color: %3;}QListView::indicator:hover {  border-color: %3;})"_s
        .arg(borderStrong().name(), surfaceMuted().name(), accent().name());
}

void applyFirstDayOfWeek(QDateTimeEdit *edit, Qt::DayOfWeek day)
{
    if (edit && edit->calendarWidget())
        edit->calendarWidget()->setFirstDayOfWeek(day);
}

QString stylesheet()
{
    QFile file(u":/styles/calendar.qss"_s);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString sheet = QString::fromUtf8(file.readAll());

    std::vector<std::pair<QString, QString>> tokens = {
        {u"@canvas"_s, cssColor(canvas())},
        {u"@surface"_s, cssColor(surface())},
        {u"@surfaceMuted"_s, cssColor(surfaceMuted())},
        {u"@border"_s, cssColor(border())},
        {u"@borderStrong"_s, cssColor(borderStrong())},
        {u"@textPrimary"_s, cssColor(textPrimary())},
        {u"@textMuted"_s, cssColor(textMuted())},
        {u"@textDisabled"_s, cssColor(textDisabled())},
        {u"@accent"_s, cssColor(accent())},
        {u"@accentMuted"_s, cssColor(accentMuted())},
        {u"@textOnAccent"_s, cssColor(textOn(accent()))},
        {u"@danger"_s, cssColor(danger())},
        {u"@radiusSm"_s, u"4px"_s},
        {u"@radiusMd"_s, u"6px"_s},
        {u"@radiusLg"_s, u"10px"_s},
        {u"@spacingXs"_s, u"4px"_s},
        {u"@spacingSm"_s, u"8px"_s},
        {u"@spacingMd"_s, u"12px"_s},
        {u"@spacingLg"_s, u"16px"_s},
        {u"@fontBody"_s, u"11pt"_s},
        {u"@fontSm"_s, u"10pt"_s},
        {u"@fontLg"_s, u"13pt"_s},
        {u"@sansFamily"_s, sansFamily()},
    };
    // Longest first, so @accent never eats the front of @accentMuted.
    std::stable_sort(tokens.begin(), tokens.end(),
                     [](const auto &a, const auto &b) { return a.first.size() > b.first.size(); });
    for (const auto &[name, value] : tokens)
        sheet.replace(name, value, Qt::CaseSensitive);
    return sheet;
}

} // namespace Theme

// Every program that draws with the theme applies it as well: the state it
// starts makes the manager through the factory installed here, since the
// state itself knows no widgets.
namespace {
void installThemeManager()
{
    ThemeManager::install();
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(installThemeManager)
