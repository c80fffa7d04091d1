#include "caldavpropstat.h"

#include "caldavnamespaces_p.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace CalDavPropstat {

namespace {

// "HTTP/1.1 403 Forbidden" -> 403; 0 when unreadable.
int statusCode(const QString &line)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*HTTP/\\S+\\s+(\\d{3})"));
    const QRegularExpressionMatch match = pattern.match(line);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

std::optional<int> firstRefusedStatus(const QByteArray &body)
{
    QXmlStreamReader xml(body);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.namespaceUri() != CalDavNs::dav || xml.name() != QLatin1String("status"))
            continue;
        const int code = statusCode(xml.readElementText());
        if (code != 0 && (code < 200 || code > 299))
            return code;
    }
    return std::nullopt;
}

} // namespace CalDavPropstat
