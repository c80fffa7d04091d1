#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class Database;

// The texts a sync keeps per resource of a calendar for its three-way
// merges: the text both sides last agreed on, and the server's newer text
// while local changes wait to be pushed. A CalDAV resource is keyed by its
// href, a provider's event by the provider's event id (as JSON).
class ResourceBaseRepository
{
public:
    struct Texts
    {
        QString base;
        QString serverEtag;
        QString server;
    };

    explicit ResourceBaseRepository(Database *database);

    std::optional<Texts> texts(const QString &calendarId, const QString &href) const;
    // `text` is what both sides now hold at `href`; no newer server text waits.
    bool keepBase(const QString &calendarId, const QString &href, const QString &text);
    // The server holds `text` at `href`; the base stays.
    bool keepServerText(const QString &calendarId, const QString &href, const QString &etag, const QString &text);
    bool forget(const QString &calendarId, const QStringList &hrefs);
    // The hrefs of `calendarId` that have texts kept; none when the read failed.
    std::optional<QSet<QString>> hrefsOf(const QString &calendarId) const;

private:
    Database *m_database;
};
