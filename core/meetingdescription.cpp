#include "meetingdescription.h"

#include <QObject>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

enum Pattern {
    AngleBracketedUrl,
    BlankLineRun,
    OrganizerFooter,
    HtmlTag,
    JoinLine,
    ServiceHeading,
    HelpLine,
    TrailingWhitespace,
    UnderscoreRule,
    BareUrl,
    PatternCount
};

// Compiled once for the process: the details popover runs these functions
// every time it shows an event.
const QRegularExpression &pattern(Pattern which)
{
    static const QList<QRegularExpression> compiled = [] {
        using O = QRegularExpression;
        const QList<QRegularExpression> out = {
            O(u"<(https?://[^>]+)>"_s),
            O(u"\\n{3,}"_s),
            O(u"For organizers:[\\s\\S]*$"_s),
            O(u"<\\s*(html|body|div|p|br|table|style|meta|a)\\b"_s, O::CaseInsensitiveOption),
            O(u"Join the meeting now<(https://teams\\.microsoft\\.com/[^>]+)>"_s),
            O(u"^Microsoft Teams\\s*$"_s, O::MultilineOption),
            O(u"^.*Need help\\?.*$"_s, O::MultilineOption),
            O(u"[\\s]+$"_s),
            O(u"^_{3,}\\s*$"_s, O::MultilineOption),
            O(u"(https?://[^\\s<>\"]+)"_s, O::CaseInsensitiveOption),
        };
        Q_ASSERT(out.size() == PatternCount);
        return out;
    }();
    return compiled.at(which);
}

bool insideExistingLink(const QString &text, qsizetype matchStart)
{
    if (matchStart >= 6 && QStringView(text).mid(matchStart - 6, 6).contains(u"href="))
        return true;
    if (matchStart >= 2) {
        const QStringView before = QStringView(text).mid(matchStart - 2, 2);
        return before == u"\">" || before == u"'>";
    }
    return false;
}

} // namespace

QString cleanMeetingDescription(const QString &description, const QString &joinUrl)
{
    if (!description.contains("Microsoft Teams"_L1))
        return description;

    // The join line becomes one link, or goes when the event's conference
    // link is shown elsewhere. Its URL is not preceded by "<" any more, so
    // the unwrapping below leaves it alone.
    QString text;
    text.reserve(description.size());
    qsizetype copied = 0;
    QRegularExpressionMatchIterator it = pattern(JoinLine).globalMatch(description);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        text += QStringView(description).mid(copied, m.capturedStart() - copied);
        if (joinUrl.isEmpty()) {
            text += "<a href=\""_L1 + m.captured(1) + "\">"_L1 + QObject::tr("Join Microsoft Teams Meeting")
                + "</a>\n"_L1;
        }
        copied = m.capturedEnd();
    }
    text += QStringView(description).mid(copied);

    text.replace(pattern(AngleBracketedUrl), u"\\1"_s);
    // Removals first, so the gaps they leave are collapsed below.
    text.remove(pattern(UnderscoreRule));
    text.remove(pattern(ServiceHeading));
    text.remove(pattern(HelpLine));
    text.remove(pattern(OrganizerFooter));
    text.replace(pattern(BlankLineRun), u"\n\n"_s);
    text.remove(pattern(TrailingWhitespace));
    return text.trimmed();
}

QString linkifyUrls(const QString &text, const QString &linkColor)
{
    static const QString trailingPunctuation = u".,;:!?)"_s;
    const QString style = linkColor.isEmpty() ? QString() : " style=\"color:"_L1 + linkColor + ";\""_L1;

    QString out;
    out.reserve(text.size() + 64);
    qsizetype copied = 0;
    QRegularExpressionMatchIterator it = pattern(BareUrl).globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype start = m.capturedStart(1);
        out += QStringView(text).mid(copied, start - copied);
        copied = m.capturedEnd(1);
        const QStringView url = m.capturedView(1);
        if (insideExistingLink(text, start)) {
            out += url;
            continue;
        }
        qsizetype keep = url.size();
        while (keep > 0 && trailingPunctuation.contains(url.at(keep - 1)))
            --keep;
        const QStringView linked = url.left(keep);
        // The address goes in as written: the pattern admits no quote or angle bracket.
        out.append("<a href=\""_L1).append(linked).append(u'"').append(style).append(u'>');
        out.append(linked).append("</a>"_L1).append(url.mid(keep));
    }
    out += QStringView(text).mid(copied);
    return out;
}

bool looksLikeHtml(const QString &text)
{
    return pattern(HtmlTag).match(text).hasMatch();
}
