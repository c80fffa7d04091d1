#include "calendarproxystyle.h"

#include "theme.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kIndicatorSize = 18;

struct IndicatorColors
{
    QColor outline;
    QColor fill;
    QColor dot; // radio buttons only; drawn only when on
};

// The first matching row decides.
IndicatorColors checkColors(QStyle::State state)
{
    if (!(state & QStyle::State_Enabled))
        return {Theme::textDisabled(), Theme::surface(), {}};
    if (state & QStyle::State_On)
        return {Theme::accent(), Theme::accent(), {}};
    if (state & QStyle::State_MouseOver)
        return {Theme::accent(), Theme::surfaceMuted(), {}};
    return {Theme::textPrimary(), Theme::surfaceMuted(), {}};
}

IndicatorColors radioColors(QStyle::State state)
{
    if (!(state & QStyle::State_Enabled))
        return {Theme::textDisabled(), Theme::surface(), Theme::textDisabled()};
    if (state & QStyle::State_On)
        return {Theme::accent(), Theme::surface(), Theme::accent()};
    if (state & QStyle::State_MouseOver)
        return {Theme::accent(), Theme::surfaceMuted(), {}};
    return {Theme::textPrimary(), Theme::surfaceMuted(), {}};
}

QPen outlinePen(const QColor &color)
{
    return QPen(QBrush(color), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

CalendarProxyStyle::CalendarProxyStyle()
    : QProxyStyle(QStyleFactory::create(u"Fusion"_s))
{
}

CalendarProxyStyle::~CalendarProxyStyle() = default;

void CalendarProxyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                       const QWidget *widget) const
{
    if (option && painter) {
        switch (element) {
        case PE_IndicatorItemViewItemCheck:
        case PE_IndicatorCheckBox: drawCheckIndicator(painter, option->rect, option->state); return;
        case PE_IndicatorRadioButton: drawRadioIndicator(painter, option->rect, option->state); return;
        default: break;
        }
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int CalendarProxyStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight: return kIndicatorSize;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int CalendarProxyStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                                  QStyleHintReturn *returnData) const
{
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void CalendarProxyStyle::drawCheckIndicator(QPainter *painter, const QRect &rect, QStyle::State state)
{
    const QRectF r = QRectF(rect).adjusted(1, 1, -1, -1);
    const IndicatorColors colors = checkColors(state);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(outlinePen(colors.outline));
    painter->setBrush(colors.fill);
    painter->drawRoundedRect(r, 3.0, 3.0, Qt::AbsoluteSize);
    if (state & QStyle::State_On) {
        const qreal s = std::min(r.width(), r.height());
        const QPointF c = r.center();
        QPainterPath tick;
        tick.moveTo(c.x() - 0.28 * s, c.y() + 0.02 * s);
        tick.lineTo(c.x() - 0.06 * s, c.y() + 0.22 * s);
        tick.lineTo(c.x() + 0.30 * s, c.y() - 0.20 * s);
        painter->setPen(QPen(QColor(255, 255, 255, 255), 0.18 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(tick);
    }
    painter->restore();
}

void CalendarProxyStyle::drawRadioIndicator(QPainter *painter, const QRect &rect, QStyle::State state)
{
    const QRectF r = QRectF(rect).adjusted(1, 1, -1, -1);
    const IndicatorColors colors = radioColors(state);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(outlinePen(colors.outline));
    painter->setBrush(colors.fill);
    painter->drawEllipse(r);
    if (state & QStyle::State_On) {
        const qreal radius = 0.26 * std::min(r.width(), r.height());
        painter->setPen(Qt::NoPen);
        painter->setBrush(colors.dot);
        painter->drawEllipse(r.center(), radius, radius);
    }
    painter->restore();
}

CalendarProxyStyle *CalendarProxyStyle::ofApplication()
{
    QStyle *style = QApplication::style();
    if (!style)
        return nullptr;
    if (auto *proxy = qobject_cast<CalendarProxyStyle *>(style))
        return proxy;
    return style->findChild<CalendarProxyStyle *>(QString(), Qt::FindDirectChildrenOnly);
}
