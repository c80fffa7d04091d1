#pragma once

#include <QDate>
#include <QMetaType>
#include <QString>
#include <QUrl>

namespace TolmUpdate {

// One platform's release entry of the manifest (see MANIFEST.md).
struct Artifact
{
    QString version;
    QDate releaseDate; // invalid when the manifest gives none
    QUrl url; // http or https, checked by the client
    qint64 size = 0; // bytes; 0 when unknown
    QString sha256; // 64 lower-case hex digits, or empty
    bool mandatory = false;
    QString minimumVersion; // oldest version that may upgrade to this one; empty: any
    QUrl releaseNotesUrl; // http or https, or empty

    friend bool operator==(const Artifact &a, const Artifact &b)
    {
        return a.version == b.version && a.releaseDate == b.releaseDate && a.url == b.url && a.size == b.size
            && a.sha256 == b.sha256 && a.mandatory == b.mandatory && a.minimumVersion == b.minimumVersion
            && a.releaseNotesUrl == b.releaseNotesUrl;
    }
    friend bool operator!=(const Artifact &a, const Artifact &b) { return !(a == b); }
};

} // namespace TolmUpdate

Q_DECLARE_METATYPE(TolmUpdate::Artifact)
