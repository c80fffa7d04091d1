#include "calendarproxystyle.h"
#include "theme.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QImage render(const QStyle &style, QStyle::PrimitiveElement element, QStyle::State state, QSize size = {18, 18})
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionButton option;
    option.rect = QRect(QPoint(0, 0), size);
    option.state = state;
    option.palette = QApplication::palette();
    style.drawPrimitive(element, &option, &painter);
    painter.end();
    return image;
}

// Antialiased edges give a little; a wrong token is far off.
bool near(const QColor &actual, const QColor &expected)
{
    const int tolerance = 10;
    return qAbs(actual.red() - expected.red()) <= tolerance && qAbs(actual.green() - expected.green()) <= tolerance
        && qAbs(actual.blue() - expected.blue()) <= tolerance && qAbs(actual.alpha() - expected.alpha()) <= tolerance;
}

#define COMPARE_COLOR(actual, expected)                                                                                \
    QVERIFY2(near(actual, expected),                                                                                   \
             qPrintable(u"%1 != %2"_s.arg((actual).name(QColor::HexArgb), (expected).name(QColor::HexArgb))))

// Sample points of an 18x18 indicator: the outline on the left edge, the fill
// clear of the tick and dot, the middle of the tick's long stroke, the centre.
const QPoint kOutline(1, 9);
const QPoint kCheckFill(4, 4);
const QPoint kRadioFill(9, 3);
const QPoint kTick(10, 9);
const QPoint kCentre(8, 8);

} // namespace

class TestProxyStyle : public QObject
{
    Q_OBJECT
private:
    CalendarProxyStyle m_style;

private Q_SLOTS:
    void cleanup()
    {
        Theme::setMode(0);
        Theme::setAccent(QString());
    }

    void checkBoxStates_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("dark");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("outline");
        QTest::addColumn<QString>("fill");
        QTest::addColumn<bool>("tick");
        const int on = QStyle::State_Enabled | QStyle::State_On;
        const int off = QStyle::State_Enabled | QStyle::State_Off;
        const int hovered = off | QStyle::State_MouseOver;
        const int check = QStyle::PE_IndicatorCheckBox;
        const int item = QStyle::PE_IndicatorItemViewItemCheck;
        QTest::newRow("unchecked: primary outline on muted surface")
            << check << 0 << off << u"#181b22"_s << u"#f0f1f4"_s << false;
        QTest::newRow("checked: accent with a white tick") << check << 0 << on << u"#4285f4"_s << u"#4285f4"_s << true;
        QTest::newRow("hovered: accent outline, no tick")
            << check << 0 << hovered << u"#4285f4"_s << u"#f0f1f4"_s << false;
        QTest::newRow("disabled and checked: the tick stays white")
            << check << 0 << int(QStyle::State_On) << u"#a8adb6"_s << u"#ffffff"_s << true;
        QTest::newRow("hovered and checked: on wins")
            << check << 0 << (on | QStyle::State_MouseOver) << u"#4285f4"_s << u"#4285f4"_s << true;
        QTest::newRow("dark, checked") << check << 1 << on << u"#6ba1f7"_s << u"#6ba1f7"_s << true;
        QTest::newRow("item view check, unchecked") << item << 0 << off << u"#181b22"_s << u"#f0f1f4"_s << false;
        QTest::newRow("item view check, dark, checked") << item << 1 << on << u"#6ba1f7"_s << u"#6ba1f7"_s << true;
    }
    void checkBoxStates()
    {
        QFETCH(int, element);
        QFETCH(int, dark);
        QFETCH(int, state);
        QFETCH(QString, outline);
        QFETCH(QString, fill);
        QFETCH(bool, tick);
        Theme::setMode(dark);
        const QImage image = render(m_style, QStyle::PrimitiveElement(element), QStyle::State(state));
        COMPARE_COLOR(image.pixelColor(kOutline), QColor(outline));
        COMPARE_COLOR(image.pixelColor(kCheckFill), QColor(fill));
        COMPARE_COLOR(image.pixelColor(kTick), tick ? QColor(Qt::white) : QColor(fill));
        // Outside the 16x16 square nothing is painted.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(17, 17).alpha(), 0);
    }

    void radioStates_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("outline");
        QTest::addColumn<QString>("fill");
        QTest::addColumn<QString>("dot"); // empty: no dot, the fill shows
        const int on = QStyle::State_Enabled | QStyle::State_On;
        const int off = QStyle::State_Enabled | QStyle::State_Off;
        QTest::newRow("checked: hollow ring with an accent dot") << on << u"#4285f4"_s << u"#ffffff"_s << u"#4285f4"_s;
        QTest::newRow("hovered: accent outline, no dot")
            << (off | QStyle::State_MouseOver) << u"#4285f4"_s << u"#f0f1f4"_s << QString();
        QTest::newRow("disabled and checked: disabled dot")
            << int(QStyle::State_On) << u"#a8adb6"_s << u"#ffffff"_s << u"#a8adb6"_s;
    }
    void radioStates()
    {
        QFETCH(int, state);
        QFETCH(QString, outline);
        QFETCH(QString, fill);
        QFETCH(QString, dot);
        const QImage image = render(m_style, QStyle::PE_IndicatorRadioButton, QStyle::State(state));
        COMPARE_COLOR(image.pixelColor(kOutline), QColor(outline));
        COMPARE_COLOR(image.pixelColor(kRadioFill), QColor(fill));
        COMPARE_COLOR(image.pixelColor(kCentre), QColor(dot.isEmpty() ? fill : dot));
        QCOMPARE(image.pixelColor(1, 1).alpha(), 0); // round, not square
    }

    void accentIsReadAtEveryPaint()
    {
        Theme::setAccent(u"#ff0000"_s);
        const QImage image = render(m_style, QStyle::PE_IndicatorCheckBox, QStyle::State_Enabled | QStyle::State_On);
        COMPARE_COLOR(image.pixelColor(kCheckFill), QColor(u"#ff0000"_s));
    }

    // Tri-state boxes have no look of their own.
    void partiallyCheckedLooksExactlyUnchecked()
    {
        QCOMPARE(render(m_style, QStyle::PE_IndicatorCheckBox, QStyle::State_Enabled | QStyle::State_NoChange),
                 render(m_style, QStyle::PE_IndicatorCheckBox, QStyle::State_Enabled | QStyle::State_Off));
    }

    // Everything but the three indicators is Fusion's, pixel for pixel.
    void restIsFusion_data()
    {
        QTest::addColumn<int>("element");
        QTest::newRow("push button panel") << int(QStyle::PE_PanelButtonCommand);
        QTest::newRow("line edit frame") << int(QStyle::PE_FrameLineEdit);
    }
    void restIsFusion()
    {
        QFETCH(int, element);
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_s));
        const auto state = QStyle::State_Enabled | QStyle::State_On;
        QCOMPARE(render(m_style, QStyle::PrimitiveElement(element), state, {40, 24}),
                 render(*fusion, QStyle::PrimitiveElement(element), state, {40, 24}));
        for (auto metric : {QStyle::PM_ScrollBarExtent, QStyle::PM_ButtonMargin, QStyle::PM_DefaultFrameWidth})
            QCOMPARE(m_style.pixelMetric(metric), fusion->pixelMetric(metric));
    }
};

QTEST_MAIN(TestProxyStyle)
#include "tst_proxystyle.moc"
