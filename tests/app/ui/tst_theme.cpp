#include "theme.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestTheme : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup()
    {
        Theme::setMode(0);
        Theme::setAccent(QString());
    }

    // The colours go in as CSS: hex when opaque, rgba() with three decimals otherwise.
    void stylesheetHasEveryTokenFilledIn_data()
    {
        QTest::addColumn<int>("dark");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("light") << 0
                               << QStringList{u"background: #f6f7f9"_s, u"#4285f4"_s, u"rgba(66, 133, 244, 0.149)"_s};
        QTest::newRow("dark") << 1
                              << QStringList{u"background: #14161b"_s, u"#6ba1f7"_s, u"rgba(107, 161, 247, 0.196)"_s};
    }
    void stylesheetHasEveryTokenFilledIn()
    {
        QFETCH(int, dark);
        QFETCH(QStringList, expected);
        Theme::setMode(dark);
        const QString sheet = Theme::stylesheet();
        QVERIFY(sheet.size() > 4000);
        QVERIFY2(!sheet.contains(u'@'), qPrintable(sheet.mid(sheet.indexOf(u'@'), 40)));
        // A short token replaced inside a longer one would leave its tail.
        const QRegularExpression tail(u"(#[0-9a-f]{6}|\\))(Muted|Strong)"_s);
        QVERIFY(!tail.match(sheet).hasMatch());
        for (const QString &text : expected)
            QVERIFY2(sheet.contains(text), qPrintable(text));
    }

    void colorDot_data()
    {
        QTest::addColumn<QString>("color");
        QTest::addColumn<QColor>("drawn");
        QTest::newRow("hex") << u"#4285F4"_s << QColor(0x42, 0x85, 0xf4);
        QTest::newRow("not a colour") << u"nope"_s << QColor(0x9a, 0xa0, 0xa6);
    }
    void colorDot()
    {
        QFETCH(QString, color);
        QFETCH(QColor, drawn);
        const QImage image = Theme::colorDotIcon(color).pixmap(14, 14).toImage();
        QCOMPARE(image.size(), QSize(14, 14));
        QCOMPARE(image.pixelColor(7, 7), drawn);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(1, 1).alpha(), 0); // a circle, not a square
    }

    // The icon font is not loaded here: the glyph still draws with the
    // fallback font, in the given colour, inside its square.
    void glyphDrawsWithWhateverFontIsThere()
    {
        const QIcon icon = Theme::glyphIcon(u'M', 24, QColor(Qt::red));
        const QImage image = icon.pixmap(24, 24).toImage();
        QCOMPARE(image.size(), QSize(24, 24));
        int red = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() > 200) {
                    QCOMPARE(c.rgb(), QColor(Qt::red).rgb());
                    ++red;
                }
            }
        }
        QVERIFY(red > 10);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QVERIFY(Theme::glyphIcon(u'M', -4, Qt::red).isNull());
    }

    void firstDayOfWeekReachesThePopup()
    {
        QDateTimeEdit edit;
        Theme::applyFirstDayOfWeek(&edit, Qt::Sunday); // no popup: nothing to set
        edit.setCalendarPopup(true);
        Theme::applyFirstDayOfWeek(&edit, Qt::Sunday);
        QCOMPARE(edit.calendarWidget()->firstDayOfWeek(), Qt::Sunday);
        Theme::applyFirstDayOfWeek(nullptr, Qt::Monday);
    }
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
