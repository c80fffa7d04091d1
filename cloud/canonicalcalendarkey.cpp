#include "canonicalcalendarkey.h"

#include "recordnames.h"

#include <QCryptographicHash>
#include <QStringList>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

std::optional<QString> familyOf(const QString &accountType)
{
    const QString type = accountType.trimmed().toLower();
    if (type == AccountType::CalDav || type == AccountType::ICloud || type == AccountType::Zoho)
        return AccountType::CalDav;
    if (type == AccountType::Google || type == AccountType::Microsoft || type == AccountType::Quillmarten
        || type == AccountType::Webcal)
        return type;
    return std::nullopt;
}

int defaultPort(const QString &scheme)
{
    if (scheme == "http"_L1 || scheme == "webcal"_L1)
        return 80;
    if (scheme == "https"_L1 || scheme == "webcals"_L1)
        return 443;
    return -1;
}

// RFC 3986 section 5.2.4 on an absolute path. QUrl::NormalizePathSegments
// of Qt 6.4 turns "/cal/./x/../y" into "/cal//y".
QString removeDotSegments(const QString &path)
{
    const QStringList in = path.split(u'/'); // in[0] is the text before the leading "/"
    QStringList out;
    for (qsizetype i = 1; i < in.size(); ++i) {
        const QString &segment = in.at(i);
        if (segment == "."_L1 || segment == ".."_L1) {
            if (segment == ".."_L1 && !out.isEmpty())
                out.removeLast();
            if (i == in.size() - 1)
                out.append(QString()); // "/a/." names the folder "/a/"
        } else {
            out.append(segment);
        }
    }
    return u'/' + out.join(u'/');
}

QString normalisedWebUrl(const QString &text, bool isCollection)
{
    const QUrl url(text);
    QString host = url.host(QUrl::EncodeUnicode);
    if (!url.isValid() || url.isRelative() || host.isEmpty())
        return text;
    while (host.endsWith(u'.'))
        host.chop(1);

    QString result = u"//"_s + host;
    const int port = url.port();
    if (port != -1 && port != defaultPort(url.scheme()))
        result += u':' + QString::number(port);
    QString path = url.path(QUrl::FullyEncoded);
    path = path.isEmpty() ? u"/"_s : removeDotSegments(path);
    if (isCollection && !path.endsWith(u'/'))
        path += u'/';
    result += path;
    if (url.hasQuery())
        result += u'?' + url.query(QUrl::FullyEncoded);
    return result;
}

} // namespace

std::optional<QString> canonicalCalendarKey(const QString &accountType, const QString &calendarUrl)
{
    const std::optional<QString> family = familyOf(accountType);
    const QString text = calendarUrl.trimmed();
    if (!family || text.isEmpty())
        return std::nullopt;

    QString normalised;
    if (*family == AccountType::CalDav || *family == AccountType::Webcal)
        normalised = normalisedWebUrl(text, *family == AccountType::CalDav);
    else if (*family == AccountType::Google)
        normalised = text.toLower();
    else
        normalised = text;

    const QByteArray input = (*family + u':' + normalised).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(input, QCryptographicHash::Sha256).toHex());
}
