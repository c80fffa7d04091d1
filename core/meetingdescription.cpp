#include "meetingdescription.h"

#include <QObject>
#include <QRegularExpression>
#include <QUrl>

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
            // No NUL: it stands for a join link until the text is escaped.
            O(u"(https?://[^\\s<>\"\\x{0}]+)"_s, O::CaseInsensitiveOption),
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

QString linkStyle(const QString &linkColor)
{
    return linkColor.isEmpty() ? QString() : " style=\"color:"_L1 + linkColor + ";\""_L1;
}

// The address goes into the attribute escaped: a join line may carry quotes
// that would otherwise end it and start an attribute of their own.
QString anchor(const QString &url, const QString &label, const QString &style)
{
    return "<a href=\""_L1 + url.toHtmlEscaped() + u'"' + style + u'>' + label.toHtmlEscaped() + "</a>"_L1;
}

QString joinLabel()
{
    return QObject::tr("Join Microsoft Teams Meeting");
}

// Stands for a join link in plain text until the text has been escaped; the
// text loses its own NULs first.
constexpr QChar kJoinMarker(0);

// Cleans as cleanMeetingDescription says. With `joinUrls` each join link is
// written as kJoinMarker and its address appended there instead.
QString clean(const QString &description, const QString &joinUrl, QStringList *joinUrls)
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
        if (joinUrl.isEmpty() && joinUrls) {
            joinUrls->append(m.captured(1));
            text += kJoinMarker;
            text += u'\n';
        } else if (joinUrl.isEmpty()) {
            text += anchor(m.captured(1), joinLabel(), QString()) + u'\n';
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

enum class Source { Html, PlainText };

// Links the bare addresses. Plain text is escaped on the way, around the
// addresses and inside them; in HTML an address already inside a link is
// left alone.
QString linkify(const QString &text, const QString &linkColor, Source source)
{
    static const QString trailingPunctuation = u".,;:!?)"_s;
    const bool plain = source == Source::PlainText;
    const auto copy = [plain](QStringView part) { return plain ? part.toString().toHtmlEscaped() : part.toString(); };
    const QString style = linkStyle(linkColor);

    QString out;
    out.reserve(text.size() + 64);
    qsizetype copied = 0;
    QRegularExpressionMatchIterator it = pattern(BareUrl).globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype start = m.capturedStart(1);
        out += copy(QStringView(text).mid(copied, start - copied));
        copied = m.capturedEnd(1);
        const QStringView url = m.capturedView(1);
        if (!plain && insideExistingLink(text, start)) {
            out += url;
            continue;
        }
        qsizetype keep = url.size();
        while (keep > 0 && trailingPunctuation.contains(url.at(keep - 1)))
            --keep;
        const QString linked = url.left(keep).toString();
        if (plain) {
            out += anchor(linked, linked, style);
        } else {
            // The address goes in as written: the pattern admits no quote or
            // angle bracket, and HTML writes its ampersands as entities.
            out.append("<a href=\""_L1).append(linked).append(u'"').append(style).append(u'>');
            out.append(linked).append("</a>"_L1);
        }
        out += copy(url.mid(keep));
    }
    out += copy(QStringView(text).mid(copied));
    return out;
}

} // namespace

QString cleanMeetingDescription(const QString &description, const QString &joinUrl)
{
    return clean(description, joinUrl, nullptr);
}

QString linkifyUrls(const QString &text, const QString &linkColor)
{
    return linkify(text, linkColor, Source::Html);
}

QString meetingDescriptionHtml(const QString &description, const QString &joinUrl, const QString &linkColor)
{
    // Decided before any link is written: once the join link is in, every
    // invitation would look like HTML.
    if (looksLikeHtml(description))
        return linkifyUrls(cleanMeetingDescription(description, joinUrl), linkColor);
    QString text = description;
    text.remove(kJoinMarker);
    QStringList joinUrls;
    text = clean(text, joinUrl, &joinUrls);
    QString html = linkify(text, linkColor, Source::PlainText);
    // Escaping keeps the markers; each becomes its join link, in order.
    const QString style = linkStyle(linkColor);
    for (const QString &url : std::as_const(joinUrls)) {
        const qsizetype at = html.indexOf(kJoinMarker);
        if (at < 0)
            break;
        html.replace(at, 1, isWebUrl(url) ? anchor(url, joinLabel(), style) : joinLabel().toHtmlEscaped());
    }
    html.replace(u'\n', "<br/>"_L1);
    return html;
}

bool isWebUrl(const QString &url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    return parsed.isValid() && !parsed.host().isEmpty() && (scheme == "http"_L1 || scheme == "https"_L1);
}

bool looksLikeHtml(const QString &text)
{
    return pattern(HtmlTag).match(text).hasMatch();
}
