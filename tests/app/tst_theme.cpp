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

    void cssColor_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("css");
        QTest::newRow("opaque: lower-case hex") << QColor(0x42, 0x85, 0xF4) << u"#4285f4"_s;
        QTest::newRow("alpha 38: three decimals") << QColor(66, 133, 244, 38) << u"rgba(66, 133, 244, 0.149)"_s;
        QTest::newRow("alpha 50") << QColor(107, 161, 247, 50) << u"rgba(107, 161, 247, 0.196)"_s;
        QTest::newRow("transparent") << QColor(0, 0, 0, 0) << u"rgba(0, 0, 0, 0.000)"_s;
    }
    void cssColor()
    {
        QFETCH(QColor, color);
        QFETCH(QString, css);
        QCOMPARE(Theme::cssColor(color), css);
    }

    void accentFollowsTheUser_data()
    {
        QTest::addColumn<int>("dark");
        QTest::addColumn<QString>("accent");
        QTest::addColumn<QString>("expectedAccent");
        QTest::addColumn<QString>("expectedMuted");
        QTest::newRow("light, default") << 0 << QString() << u"#4285f4"_s << u"rgba(66, 133, 244, 0.149)"_s;
        QTest::newRow("dark, default") << 1 << QString() << u"#6ba1f7"_s << u"rgba(107, 161, 247, 0.196)"_s;
        QTest::newRow("light, red") << 0 << u"#ff0000"_s << u"#ff0000"_s << u"rgba(255, 0, 0, 0.149)"_s;
        QTest::newRow("dark, red") << 1 << u"#ff0000"_s << u"#ff0000"_s << u"rgba(255, 0, 0, 0.196)"_s;
        QTest::newRow("named colour") << 0 << u"green"_s << u"#008000"_s << u"rgba(0, 128, 0, 0.149)"_s;
        QTest::newRow("not a colour: the default") << 0 << u"chartreusey"_s << u"#4285f4"_s
                                                   << u"rgba(66, 133, 244, 0.149)"_s;
    }
    void accentFollowsTheUser()
    {
        QFETCH(int, dark);
        QFETCH(QString, accent);
        QFETCH(QString, expectedAccent);
        QFETCH(QString, expectedMuted);
        Theme::setMode(dark);
        Theme::setAccent(accent);
        QCOMPARE(Theme::accentName(), accent);
        QCOMPARE(Theme::cssColor(Theme::accent()), expectedAccent);
        QCOMPARE(Theme::cssColor(Theme::accentMuted()), expectedMuted);

        const QString sheet = Theme::stylesheet();
        QVERIFY(sheet.contains(expectedAccent));
        QVERIFY(sheet.contains(expectedMuted));
    }

    void stylesheetHasEveryTokenFilledIn_data()
    {
        QTest::addColumn<int>("dark");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("light") << 0
                               << QStringList{u"background: #f6f7f9"_s, u"border-color: #c9cdd4"_s,
                                              u"background: #f0f1f4"_s, u"font-family: \"IBM Plex Sans\""_s,
                                              u"font-size: 11pt"_s, u"border-radius: 6px"_s};
        QTest::newRow("dark") << 1
                              << QStringList{u"background: #14161b"_s, u"border-color: #3a404b"_s,
                                             u"background: #23272f"_s, u"color: #e7e9ee"_s};
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
        QTest::newRow("named") << u"red"_s << QColor(Qt::red);
        QTest::newRow("not a colour") << u"nope"_s << QColor(0x9a, 0xa0, 0xa6);
        QTest::newRow("empty") << QString() << QColor(0x9a, 0xa0, 0xa6);
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

    void iconFontFamilyIgnoresEmpty()
    {
        QCOMPARE(Theme::iconFontFamily(), u"Material Icons"_s);
        Theme::setIconFontFamily(QString());
        QCOMPARE(Theme::iconFontFamily(), u"Material Icons"_s);
        Theme::setIconFontFamily(u"Other Icons"_s);
        QCOMPARE(Theme::iconFontFamily(), u"Other Icons"_s);
        Theme::setIconFontFamily(u"Material Icons"_s);
    }

    void checkListStyleSheetUsesTheTokens()
    {
        Theme::setMode(1);
        const QString sheet = Theme::checkListStyleSheet();
        QVERIFY(sheet.contains(u"border: 1px solid #3a404b;"_s));
        QVERIFY(sheet.contains(u"background: #23272f;"_s));
        QVERIFY(sheet.contains(u"background: #6ba1f7;  border-color: #6ba1f7;"_s));
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
