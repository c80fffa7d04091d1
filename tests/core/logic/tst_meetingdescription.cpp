#include "meetingdescription.h"
#include "systemlanguage.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString joinUrl = u"https://teams.microsoft.com/l/meetup-join/19%3ameeting_abc%40thread.v2/0?context=x"_s;

// As an invitation arrives from the server (plain text).
QString teamsInvitation()
{
    return u"Quarterly review, agenda in the doc <https://example.org/agenda>.\n"
           "\n"
           "________________________________________________________________________________\n"
           "Microsoft Teams \n"
           "Need help?<https://aka.ms/JoinTeamsMeeting>\n"
           "Join the meeting now<"_s
        + joinUrl
        + u">\n"
          "Meeting ID: 123 456 789\n"
          "\n"
          "\n"
          "\n"
          "\n"
          "For organizers: Meeting options<https://teams.microsoft.com/meetingOptions/>\n"
          "________________________________________________________________________________\n  \n"_s;
}

} // namespace

class TestMeetingDescription : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { verifySystemLanguageFromEnvironment(); }

    void clean_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("joinUrl");
        QTest::addColumn<QString>("cleaned");

        QTest::newRow("no Teams words: unchanged, boilerplate and all")
            << u"Need help?\n______\n<https://a.example>\n\n\n\nFor organizers: x  "_s << QString()
            << u"Need help?\n______\n<https://a.example>\n\n\n\nFor organizers: x  "_s;
        QTest::newRow("invitation without a conference link: join line becomes the link")
            << teamsInvitation() << QString()
            << u"Quarterly review, agenda in the doc https://example.org/agenda.\n\n<a href=\""_s + joinUrl
                + u"\">Join Microsoft Teams Meeting</a>\n\nMeeting ID: 123 456 789"_s;
        QTest::newRow("join line with quotes: the address stays inside its attribute")
            << u"Microsoft Teams\nJoin the meeting now<https://teams.microsoft.com/x\" href=\"https://other.example/>"_s
            << QString()
            << u"<a href=\"https://teams.microsoft.com/x&quot; href=&quot;https://other.example/\">"
               "Join Microsoft Teams Meeting</a>"_s;
        QTest::newRow("invitation with a conference link: no join link at all")
            << teamsInvitation() << joinUrl
            << u"Quarterly review, agenda in the doc https://example.org/agenda.\n\nMeeting ID: 123 456 789"_s;
    }

    void clean()
    {
        QFETCH(QString, description);
        QFETCH(QString, joinUrl);
        QTEST(cleanMeetingDescription(description, joinUrl), "cleaned");
    }

    void linkify_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("color");
        QTest::addColumn<QString>("linked");

        QTest::newRow("full stop stays outside the anchor")
            << u"See https://example.org/a."_s << QString()
            << u"See <a href=\"https://example.org/a\">https://example.org/a</a>."_s;
        QTest::newRow("colour becomes a style attribute")
            << u"http://x.example"_s << u"#4285F4"_s
            << u"<a href=\"http://x.example\" style=\"color:#4285F4;\">http://x.example</a>"_s;
        QTest::newRow("scheme in capitals")
            << u"HTTPS://X.EXAMPLE!"_s << QString() << u"<a href=\"HTTPS://X.EXAMPLE\">HTTPS://X.EXAMPLE</a>!"_s;
        QTest::newRow("existing anchor left alone")
            << u"<a href=\"https://x.example\">https://x.example</a>"_s << u"#000000"_s
            << u"<a href=\"https://x.example\">https://x.example</a>"_s;
        QTest::newRow("two addresses and text between") << u"a http://1.example b https://2.example; c"_s << QString()
                                                        << u"a <a href=\"http://1.example\">http://1.example</a> b "
                                                           "<a href=\"https://2.example\">https://2.example</a>; c"_s;
        QTest::newRow("no address") << u"nothing here"_s << QString() << u"nothing here"_s;
    }

    void linkify()
    {
        QFETCH(QString, text);
        QFETCH(QString, color);
        QTEST(linkifyUrls(text, color), "linked");
    }

    // What the event card shows: plain or HTML is decided on the text as it
    // arrives, plain text is escaped, and only web addresses become links.
    void displayHtml_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("joinUrl");
        QTest::addColumn<QString>("html");

        const QString link = u"<a href=\""_s + joinUrl.toHtmlEscaped() + u"\" style=\"color:#123456;\">"_s;
        QTest::newRow("plain invitation: line feeds kept, join link inserted after escaping")
            << teamsInvitation() << QString()
            << u"Quarterly review, agenda in the doc <a href=\"https://example.org/agenda\" "
               "style=\"color:#123456;\">https://example.org/agenda</a>.<br/><br/>"_s
                + link + u"Join Microsoft Teams Meeting</a><br/><br/>Meeting ID: 123 456 789"_s;
        QTest::newRow("plain invitation with a conference link shown elsewhere")
            << teamsInvitation() << joinUrl
            << u"Quarterly review, agenda in the doc <a href=\"https://example.org/agenda\" "
               "style=\"color:#123456;\">https://example.org/agenda</a>.<br/><br/>Meeting ID: 123 456 789"_s;
        QTest::newRow("plain text with <draft>: shown, not swallowed as a tag")
            << u"Notes <draft> & more\nsecond line"_s << QString()
            << u"Notes &lt;draft&gt; &amp; more<br/>second line"_s;
        QTest::newRow("plain text: quotes and ampersands of an address escaped")
            << u"See https://x.example/?a=1&b=\"2\" now"_s << QString()
            << u"See <a href=\"https://x.example/?a=1&amp;b=\" style=\"color:#123456;\">https://x.example/?a=1&amp;b=</a>"
               "&quot;2&quot; now"_s;
        QTest::newRow("hostile join line in plain text: no link to the other host")
            << u"Microsoft Teams\nJoin the meeting now<https://teams.microsoft.com/x\" href=\"https://other.example/>"_s
            << QString() << u"Join Microsoft Teams Meeting"_s;
        QTest::newRow("join line right after an address: two links, neither inside the other")
            << u"Microsoft Teams\nsee https://a.example/xJoin the meeting now<https://teams.microsoft.com/l/1>"_s
            << QString()
            << u"see <a href=\"https://a.example/x\" style=\"color:#123456;\">https://a.example/x</a><a "
               "href=\"https://teams.microsoft.com/l/1\" style=\"color:#123456;\">Join Microsoft Teams Meeting</a>"_s;
        QTest::newRow("HTML stays HTML, its addresses linked")
            << u"<p>Agenda: https://a.example</p>"_s << QString()
            << u"<p>Agenda: <a href=\"https://a.example\" style=\"color:#123456;\">https://a.example</a></p>"_s;
        QTest::newRow("other schemes are not linked") << u"ftp://a.example javascript:alert(1)"_s << QString()
                                                      << u"ftp://a.example javascript:alert(1)"_s;
    }
    void displayHtml()
    {
        QFETCH(QString, description);
        QFETCH(QString, joinUrl);
        QTEST(meetingDescriptionHtml(description, joinUrl, u"#123456"_s), "html");
    }

    void looksLikeHtml_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("html");
        QTest::newRow("upper-case BR") << u"line<BR>line"_s << true;
        QTest::newRow("anchor") << u"<a href=\"x\">x</a>"_s << true;
        QTest::newRow("bold alone is not enough") << u"<b>bold</b>"_s << false;
        QTest::newRow("tag name must end") << u"<pre>code</pre> <abbr>x</abbr>"_s << false;
    }

    void looksLikeHtml()
    {
        QFETCH(QString, text);
        QTEST(::looksLikeHtml(text), "html");
    }
};

QTEST_GUILESS_MAIN(TestMeetingDescription)
#include "tst_meetingdescription.moc"
