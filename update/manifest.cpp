#include "manifest_p.h"
#include "version.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace TolmUpdate::Manifest {

namespace {

Result invalid(const QString &error)
{
    Result r;
    r.kind = Result::Kind::Invalid;
    r.error = error;
    return r;
}

// Downloads and release notes are handed to the desktop's URL opener, so
// anything but a web address (file:, custom schemes) is refused.
bool isWebUrl(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty() && (url.scheme() == "https"_L1 || url.scheme() == "http"_L1);
}

bool readText(const QJsonObject &o, QLatin1String key, QString *out, QString *error)
{
    const QJsonValue v = o.value(key);
    if (v.isUndefined() || v.isNull())
        return true;
    if (!v.isString()) {
        *error = u"field \"%1\" is not a string"_s.arg(key);
        return false;
    }
    *out = v.toString();
    return true;
}

std::optional<Artifact> readEntry(const QJsonObject &o, QString *error)
{
    Artifact a;
    QString releaseDate;
    QString url;
    QString notesUrl;
    if (!readText(o, "version"_L1, &a.version, error) || !readText(o, "releaseDate"_L1, &releaseDate, error)
        || !readText(o, "url"_L1, &url, error) || !readText(o, "sha256"_L1, &a.sha256, error)
        || !readText(o, "minimumVersion"_L1, &a.minimumVersion, error)
        || !readText(o, "releaseNotesUrl"_L1, &notesUrl, error))
        return std::nullopt;

    if (!isValidVersion(a.version)) {
        *error = u"field \"version\" is missing or not a dotted version"_s;
        return std::nullopt;
    }
    if (!a.minimumVersion.isEmpty() && !isValidVersion(a.minimumVersion)) {
        *error = u"field \"minimumVersion\" is not a dotted version"_s;
        return std::nullopt;
    }
    a.url = QUrl(url, QUrl::StrictMode);
    if (!isWebUrl(a.url)) {
        *error = u"field \"url\" is missing or not an http(s) URL"_s;
        return std::nullopt;
    }
    if (!notesUrl.isEmpty()) {
        a.releaseNotesUrl = QUrl(notesUrl, QUrl::StrictMode);
        if (!isWebUrl(a.releaseNotesUrl)) {
            *error = u"field \"releaseNotesUrl\" is not an http(s) URL"_s;
            return std::nullopt;
        }
    }
    if (!releaseDate.isEmpty()) {
        a.releaseDate = QDate::fromString(releaseDate, Qt::ISODate);
        if (!a.releaseDate.isValid()) {
            *error = u"field \"releaseDate\" is not a YYYY-MM-DD date"_s;
            return std::nullopt;
        }
    }
    static const QRegularExpression hex64(u"^[0-9a-f]{64}$"_s);
    a.sha256 = a.sha256.toLower();
    if (!a.sha256.isEmpty() && !hex64.match(a.sha256).hasMatch()) {
        *error = u"field \"sha256\" is not 64 hex digits"_s;
        return std::nullopt;
    }

    const QJsonValue size = o.value("size"_L1);
    if (!size.isUndefined() && !size.isNull()) {
        // JSON numbers are doubles: accept whole, non-negative byte counts only.
        const double d = size.toDouble(-1);
        if (!size.isDouble() || d < 0 || d > 9.0e15 || d != static_cast<double>(static_cast<qint64>(d))) {
            *error = u"field \"size\" is not a byte count"_s;
            return std::nullopt;
        }
        a.size = static_cast<qint64>(d);
    }
    const QJsonValue mandatory = o.value("mandatory"_L1);
    if (!mandatory.isUndefined() && !mandatory.isNull()) {
        if (!mandatory.isBool()) {
            *error = u"field \"mandatory\" is not true or false"_s;
            return std::nullopt;
        }
        a.mandatory = mandatory.toBool();
    }
    return a;
}

} // namespace

Result parse(const QByteArray &json, const Config &config, const QString &platform)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return invalid(
            u"manifest is not valid JSON: %1 at offset %2"_s.arg(parseError.errorString()).arg(parseError.offset));
    if (!doc.isObject())
        return invalid(u"manifest is not a JSON object"_s);
    const QJsonObject root = doc.object();

    // A manifest of another product or channel means a misconfigured feed;
    // offering its release would install the wrong thing.
    const QString product = root.value("product"_L1).toString();
    if (product != config.product)
        return invalid(u"manifest is for product \"%1\", expected \"%2\""_s.arg(product, config.product));
    const QString channel = root.value("channel"_L1).toString();
    if (channel != config.channel)
        return invalid(u"manifest is for channel \"%1\", expected \"%2\""_s.arg(channel, config.channel));

    const QJsonValue platforms = root.value("platforms"_L1);
    if (!platforms.isObject())
        return invalid(u"manifest has no \"platforms\" object"_s);
    const QJsonValue entry = platforms.toObject().value(platform);
    if (entry.isUndefined()) {
        Result r;
        r.kind = Result::Kind::NoEntryForPlatform;
        return r;
    }
    if (!entry.isObject())
        return invalid(u"entry for platform \"%1\" is not an object"_s.arg(platform));

    QString error;
    const auto artifact = readEntry(entry.toObject(), &error);
    if (!artifact)
        return invalid(u"entry for platform \"%1\": %2"_s.arg(platform, error));
    Result r;
    r.kind = Result::Kind::Entry;
    r.artifact = *artifact;
    return r;
}

} // namespace TolmUpdate::Manifest
