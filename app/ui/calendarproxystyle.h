#pragma once

#include <QProxyStyle>

// The application style: Fusion, with check boxes, item-view check marks and
// radio buttons painted in the theme's colours (read at every paint) and 18 px
// indicators, and dialog buttons without icons (the base style's are drawn
// for a light background and vanish on the dark theme's buttons). Owns its Fusion base style; QApplication owns the
// proxy once installed.
class CalendarProxyStyle : public QProxyStyle
{
    Q_OBJECT
public:
    CalendarProxyStyle();
    ~CalendarProxyStyle() override;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

    // A partially checked box (State_NoChange) is drawn unchecked.
    static void drawCheckIndicator(QPainter *painter, const QRect &rect, QStyle::State state);
    static void drawRadioIndicator(QPainter *painter, const QRect &rect, QStyle::State state);

    // The proxy the application paints with, or null. Once an application
    // style sheet is set, QApplication::style() is Qt's style-sheet style,
    // which keeps the style it wraps as its child: this looks through it.
    static CalendarProxyStyle *ofApplication();
};
