#include "desktopentry.h"

using namespace Qt::StringLiterals;

namespace DesktopEntry {

namespace {

bool needsQuotes(const QString &argument)
{
    if (argument.isEmpty())
        return true;
    static const QString reserved = u" \t\n\"'\\><~|&;$*?#()`"_s;
    for (const QChar c : argument) {
        if (reserved.contains(c))
            return true;
    }
    return false;
}

QString quoted(const QString &argument)
{
    if (!needsQuotes(argument))
        return argument;
    QString out = u"\""_s;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    out += u'"';
    return out;
}

// The string-value escapes, which the file reader undoes before it splits the
// Exec line: so a backslash inside quotes ends up written as four.
QString escapeValue(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += u"\\\\"_s; break;
        case u'\n': out += u"\\n"_s; break;
        case u'\t': out += u"\\t"_s; break;
        case u'\r': out += u"\\r"_s; break;
        default: out += c;
        }
    }
    return out;
}

QString unescapeValue(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        switch (text.at(++i).unicode()) {
        case u's': out += u' '; break;
        case u'n': out += u'\n'; break;
        case u't': out += u'\t'; break;
        case u'r': out += u'\r'; break;
        default: out += text.at(i);
        }
    }
    return out;
}

} // namespace

QString execValue(const QStringList &arguments)
{
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString &argument : arguments) {
        QString part = quoted(argument);
        part.replace(u'%', u"%%"_s);
        parts.append(part);
    }
    return escapeValue(parts.join(u' '));
}

std::optional<QString> value(const QString &text, const QString &key)
{
    bool inMainGroup = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.startsWith(u'[')) {
            inMainGroup = line == u"[Desktop Entry]";
            continue;
        }
        if (!inMainGroup)
            continue;
        // "Key = value" is allowed too.
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || line.left(eq).trimmed() != key)
            continue;
        return unescapeValue(line.mid(eq + 1).trimmed().toString());
    }
    return std::nullopt;
}

} // namespace DesktopEntry
