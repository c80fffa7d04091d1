#include "caldavxml.h"

#include <QTest>
#include <QTimeZone>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

// The document as an indented outline of "{namespace}name attr=value" lines,
// text as "= text". Parsing it proves it well-formed and shows what a server
// sees, whatever the prefixes and whitespace.
QStringList outline(const QByteArray &body)
{
    QStringList lines;
    QXmlStreamReader reader(body);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        const QString indent(depth * 2, u' ');
        if (reader.isStartElement()) {
            QString line = indent + u'{' + reader.namespaceUri().toString() + u'}' + reader.name().toString();
            for (const QXmlStreamAttribute &attribute : reader.attributes())
                line += u' ' + attribute.name().toString() + u'=' + attribute.value().toString();
            lines.append(line);
            ++depth;
        } else if (reader.isEndElement()) {
            --depth;
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            lines.append(indent + u"= "_s + reader.text().toString());
        }
    }
    if (reader.hasError())
        lines.append(u"ERROR "_s + reader.errorString());
    return lines;
}

const QString D = u"{DAV:}"_s;
const QString C = u"{urn:ietf:params:xml:ns:caldav}"_s;
const QString CS = u"{http://calendarserver.org/ns/}"_s;
const QString IC = u"{http://apple.com/ns/ical/}"_s;

QDateTime berlin(int hour)
{
    return QDateTime(QDate(2026, 3, 1), QTime(hour, 0), QTimeZone("Europe/Berlin"));
}

} // namespace

class TestCalDavXml : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bodies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("principal PROPFIND") << CalDavXml::principalPropfindBody()
                                            << QStringList{D + "propfind"_L1, "  "_L1 + D + "prop"_L1,
                                                           "    "_L1 + D + "current-user-principal"_L1};
        QTest::newRow("home-set PROPFIND")
            << CalDavXml::homeSetPropfindBody()
            << QStringList{D + "propfind"_L1, "  "_L1 + D + "prop"_L1, "    "_L1 + C + "calendar-home-set"_L1,
                           "    "_L1 + D + "displayname"_L1};
        QTest::newRow("calendar-list PROPFIND: nine properties in order")
            << CalDavXml::calendarListPropfindBody()
            << QStringList{D + "propfind"_L1,
                           "  "_L1 + D + "prop"_L1,
                           "    "_L1 + D + "resourcetype"_L1,
                           "    "_L1 + D + "displayname"_L1,
                           "    "_L1 + C + "calendar-description"_L1,
                           "    "_L1 + C + "supported-calendar-component-set"_L1,
                           "    "_L1 + C + "calendar-timezone"_L1,
                           "    "_L1 + IC + "calendar-color"_L1,
                           "    "_L1 + CS + "getctag"_L1,
                           "    "_L1 + D + "sync-token"_L1,
                           "    "_L1 + D + "current-user-privilege-set"_L1};
        QTest::newRow("ctag PROPFIND")
            << CalDavXml::ctagPropfindBody()
            << QStringList{D + "propfind"_L1, "  "_L1 + D + "prop"_L1, "    "_L1 + CS + "getctag"_L1,
                           "    "_L1 + D + "sync-token"_L1};

        const QStringList queryHead{C + "calendar-query"_L1, "  "_L1 + D + "prop"_L1, "    "_L1 + D + "getetag"_L1,
                                    "    "_L1 + C + "calendar-data"_L1, "  "_L1 + C + "filter"_L1,
                                    "    "_L1 + C + "comp-filter name=VCALENDAR"_L1};
        QTest::newRow("calendar-query without range: empty inner filter asks for everything")
            << CalDavXml::calendarQueryBody({}, {}, u"VTODO"_s)
            << queryHead + QStringList{"      "_L1 + C + "comp-filter name=VTODO"_L1};
        QTest::newRow("calendar-query with start only: start attribute only")
            << CalDavXml::calendarQueryBody(berlin(1), {}, u"VEVENT"_s)
            << queryHead + QStringList{"      "_L1 + C + "comp-filter name=VEVENT"_L1,
                                       "        "_L1 + C + "time-range start=20260301T000000Z"_L1};
        QTest::newRow("calendar-query with end only")
            << CalDavXml::calendarQueryBody({}, berlin(1), u"VEVENT"_s)
            << queryHead + QStringList{"      "_L1 + C + "comp-filter name=VEVENT"_L1,
                                       "        "_L1 + C + "time-range end=20260301T000000Z"_L1};
        QTest::newRow("calendar-query with both, in UTC")
            << CalDavXml::calendarQueryBody(berlin(1), berlin(13), u"VEVENT"_s)
            << queryHead
                   + QStringList{"      "_L1 + C + "comp-filter name=VEVENT"_L1,
                                 "        "_L1 + C + "time-range start=20260301T000000Z end=20260301T120000Z"_L1};

        QTest::newRow("multiget: hrefs in order, re-encoded, markup characters kept as text")
            << CalDavXml::multigetBody({u"/cal/a b.ics"_s, u"/cal/R&D's <1>.ics"_s, u"/cal/50%#1.ics"_s})
            << QStringList{C + "calendar-multiget"_L1,
                           "  "_L1 + D + "prop"_L1,
                           "    "_L1 + D + "getetag"_L1,
                           "    "_L1 + C + "calendar-data"_L1,
                           "  "_L1 + D + "href"_L1,
                           "    = /cal/a%20b.ics"_L1,
                           "  "_L1 + D + "href"_L1,
                           "    = /cal/R&D's%20%3C1%3E.ics"_L1,
                           "  "_L1 + D + "href"_L1,
                           "    = /cal/50%25%231.ics"_L1};

        const QStringList update{D + "propertyupdate"_L1, "  "_L1 + D + "set"_L1, "    "_L1 + D + "prop"_L1};
        QTest::newRow("PROPPATCH with all three, colour normalised")
            << CalDavXml::proppatchCalendarBody(u"Work & Play"_s, u"#4285f4"_s, u"<Team>"_s)
            << update
                   + QStringList{"      "_L1 + D + "displayname"_L1, "        = Work & Play"_L1,
                                 "      "_L1 + IC + "calendar-color"_L1, "        = #4285F4FF"_L1,
                                 "      "_L1 + C + "calendar-description"_L1, "        = <Team>"_L1};
        QTest::newRow("PROPPATCH with an empty name: no displayname")
            << CalDavXml::proppatchCalendarBody({}, u"#4285F480"_s, {})
            << update + QStringList{"      "_L1 + IC + "calendar-color"_L1, "        = #4285F480"_L1};
        QTest::newRow("PROPPATCH with nothing: empty prop") << CalDavXml::proppatchCalendarBody({}, {}, {}) << update;
        QTest::newRow("PROPPATCH: a colour holding markup stays text")
            << CalDavXml::proppatchCalendarBody({}, u"#12\"/><x"_s, {})
            << update + QStringList{"      "_L1 + IC + "calendar-color"_L1, "        = #12\"/><X"_L1};

        const QStringList make{C + "mkcalendar"_L1, "  "_L1 + D + "set"_L1, "    "_L1 + D + "prop"_L1};
        const QStringList components{"      "_L1 + C + "supported-calendar-component-set"_L1,
                                     "        "_L1 + C + "comp name=VEVENT"_L1,
                                     "        "_L1 + C + "comp name=VTODO"_L1};
        QTest::newRow("MKCALENDAR with an empty name keeps an empty displayname")
            << CalDavXml::mkcalendarBody({}, {}, {})
            << make + QStringList{"      "_L1 + D + "displayname"_L1} + components;
        QTest::newRow("MKCALENDAR: description before components, colour last")
            << CalDavXml::mkcalendarBody(u"Café"_s, u"00ff00"_s, u"Dates"_s)
            << make
                   + QStringList{"      "_L1 + D + "displayname"_L1, u"        = Café"_s,
                                 "      "_L1 + C + "calendar-description"_L1, "        = Dates"_L1}
                   + components
                   + QStringList{"      "_L1 + IC + "calendar-color"_L1, "        = #00FF00FF"_L1};
    }

    void bodies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, expected);
        QCOMPARE(outline(body), expected);
    }

    void escape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("ampersand, apostrophe and angle brackets")
            << u"R&D's <team>"_s << QByteArray("R&amp;D&apos;s &lt;team&gt;");
        QTest::newRow("double quote") << u"say \"hi\""_s << QByteArray("say &quot;hi&quot;");
        QTest::newRow("non-ASCII unchanged, as UTF-8") << u"Café ☕"_s << QByteArray("Caf\xc3\xa9 \xe2\x98\x95");
    }

    void escape()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(CalDavXml::escape(text), expected);
    }

    void normalizeColor_data()
    {
        QTest::addColumn<QString>("color");
        QTest::addColumn<QString>("expected");
        QTest::newRow("six digits get an opaque alpha pair") << u"#4285f4"_s << u"#4285F4FF"_s;
        QTest::newRow("an alpha pair is kept") << u"#4285F480"_s << u"#4285F480"_s;
        QTest::newRow("missing # is added") << u"4285f4"_s << u"#4285F4FF"_s;
        QTest::newRow("three digits: upper-cased only") << u"#f00"_s << u"#F00"_s;
        QTest::newRow("empty stays empty") << QString() << QString();
    }

    void normalizeColor()
    {
        QFETCH(QString, color);
        QFETCH(QString, expected);
        QCOMPARE(CalDavXml::normalizeColor(color), expected);
    }

    void encodePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("space") << u"/cal/a b.ics"_s << u"/cal/a%20b.ics"_s;
        QTest::newRow("percent, hash and question mark") << u"/cal/5%#?.ics"_s << u"/cal/5%25%23%3F.ics"_s;
        QTest::newRow("at sign and plus stay") << u"/cal/alice@mail.example/a+b.ics"_s
                                               << u"/cal/alice@mail.example/a+b.ics"_s;
        QTest::newRow("non-ASCII as UTF-8") << u"/cal/café.ics"_s << u"/cal/caf%C3%A9.ics"_s;
    }

    void encodePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const QString encoded = CalDavXml::encodePath(path);
        QCOMPARE(encoded, expected);
        QCOMPARE(QUrl(encoded, QUrl::StrictMode).path(QUrl::FullyDecoded), path);
    }
};

QTEST_GUILESS_MAIN(TestCalDavXml)
#include "tst_caldavxml.moc"
