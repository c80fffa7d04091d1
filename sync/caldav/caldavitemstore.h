#pragma once

#include "caldavparse.h"
#include "caldavrowrepository.h"
#include "event.h"
#include "recordnames.h"
#include "resourcebaserepository.h"
#include "task.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

class Database;

// The local rows of one calendar for one kind of calendar object (events or
// to-dos), as a sync run reads and writes them. Rows that wait to be pushed
// (SyncStatus::Pending) keep their content whatever the server says: they only learn
// the server's href and ETag, and the server's text is kept beside the text
// both sides last agreed on, so that the push that follows merges the two
// sides' changes (see CalDavSeriesMerge, CalDavTaskMerge).
class CalDavItemStore
{
public:
    struct Applied
    {
        int parsed = 0; // objects read from the server, pending rows included
        int written = 0; // rows inserted or replaced
        int failed = 0; // objects the store refused
        // Resources whose data holds no object of this kind that can be
        // read: href and ETag.
        QList<QPair<QString, QString>> unreadable;

        void add(const Applied &other)
        {
            parsed += other.parsed;
            written += other.written;
            failed += other.failed;
            unreadable += other.unreadable;
        }
    };

    // One resource of the server's answer with the objects of one kind read
    // from its data: events for "VEVENT", to-dos for "VTODO".
    struct Fetched
    {
        CalDavParse::Resource resource;
        QList<Event> events;
        QList<Task> tasks;
        bool otherKind = false; // iCalendar that holds only objects of other kinds
    };

    CalDavItemStore(Database *database, const QString &calendarId, const QString &table);
    virtual ~CalDavItemStore() = default;
    CalDavItemStore(const CalDavItemStore &) = delete;
    CalDavItemStore &operator=(const CalDavItemStore &) = delete;

    // "VEVENT" or "VTODO".
    virtual QString component() const = 0;
    // Reads the objects of `component` from each resource that has data.
    // Touches no store: a sync run reads a large answer on a worker thread.
    static QList<Fetched> read(const QString &component, const QList<CalDavParse::Resource> &resources);
    // Writes the objects of the server's resources (those without data are
    // skipped; data with no readable object of this kind is unreadable).
    Applied apply(const QList<CalDavParse::Resource> &resources);
    // The objects `first` to `first + count - 1` of one resource read. A
    // resource may go in several calls, in order; the last one settles the
    // resource as a whole (its text, what it no longer holds).
    Applied applyObjects(const Fetched &fetched, qsizetype first, qsizetype count);
    static qsizetype objectCount(const Fetched &fetched) { return fetched.events.size() + fetched.tasks.size(); }
    // The ETags of the rows at each href; rows without href are left out.
    QHash<QString, QSet<QString>> storedEtags() const;
    // What waits to be pushed, one key per resource in sending order.
    virtual QStringList pendingKeys() const = 0;
    // The server holds nothing at `href`: rows there that wait to be pushed
    // lose their href and ETag (the push creates them anew, a tombstone just
    // goes), the others are removed.
    void dropResource(const QString &href);
    // After a complete listing: every href not in it is dropped; returns
    // how many rows were there.
    int dropUnlisted(const QSet<QString> &listed);
    // Runs `work` in one transaction of the store's connection, which takes
    // the write lock at once: what `work` reads stays true until it wrote.
    // False when the transaction could not begin (`work` did not run: its
    // reads and writes would not stand together) or did not commit.
    bool inTransaction(const std::function<void()> &work);
    // The views of this kind of object learn that the calendar changed.
    virtual void scheduleChanged() = 0;

    // A pending row keeps its content and learns where the server holds it
    // and in which version; an empty `href` keeps the stored one.
    void takeServerIdentity(const QString &id, const QString &storedHref, const QString &storedEtag,
                            const QString &href, const QString &etag);

    // The row loses its href and ETag: the server has no copy of it.
    void forgetServerIdentity(const QString &id);

    // What a three-way merge needs of one resource: the text both sides last
    // agreed on, and the server's newer text when it met local changes.
    using ResourceTexts = ResourceBaseRepository::Texts;
    std::optional<ResourceTexts> texts(const QString &href) const;
    // `text` is what both sides now hold at `href`; no newer server text waits.
    void keepBase(const QString &href, const QString &text);
    // The server holds `text` at `href` while rows there wait to be pushed.
    void keepServerText(const QString &href, const QString &etag, const QString &text);
    void forgetTexts(const QStringList &hrefs);

    QString calendarId() const { return m_calendarId; }

protected:
    // How one object from the server meets the stored row.
    enum class Outcome { Insert, Replace, Keep };
    // What became of one object: a row written, nothing to write, or a
    // write the store refused.
    enum class Written { No, Yes, Failed };
    static Written written(bool ok) { return ok ? Written::Yes : Written::Failed; }
    static void tally(Applied &applied, Written result)
    {
        applied.written += result == Written::Yes ? 1 : 0;
        applied.failed += result == Written::Failed ? 1 : 0;
    }

    // Objects `first` to `end - 1` of one resource written; `applied` counts
    // them. When `end` is the resource's last, the resource is settled.
    virtual void applyResource(const Fetched &fetched, qsizetype first, qsizetype end, const QDateTime &now,
                               Applied &applied) = 0;
    virtual bool removeRow(const QString &id) = 0;

    // The steps every kind shares: the object becomes this calendar's and
    // "synced"; a new one gets an id; a pending row only learns the server's
    // href and ETag (Keep); a row whose ETag matches is left (Keep); else the
    // object takes the row's id and the colour picked here (Replace).
    template<typename Item>
    Outcome meet(Item &item, const std::optional<Item> &stored, const QDateTime &now)
    {
        item.calendar_id = m_calendarId;
        item.sync_status = SyncStatus::Synced;
        if (!item.created.isValid())
            item.created = now;
        if (!item.last_modified.isValid())
            item.last_modified = item.created;
        if (!stored) {
            item.id = newRowId();
            return Outcome::Insert;
        }
        // An object written before its resource is whole comes without an
        // ETag: the row keeps the version it knew, so that a push of it
        // still asks the server for that version instead of writing over
        // whatever the server holds.
        const QString etag = item.etag.isEmpty() ? stored->etag : item.etag;
        if (stored->sync_status == SyncStatus::Pending) {
            takeServerIdentity(stored->id, stored->href, stored->etag, item.href, etag);
            return Outcome::Keep;
        }
        if (!item.etag.isEmpty() && stored->etag == item.etag && stored->href == item.href)
            return Outcome::Keep;
        item.id = stored->id;
        item.etag = etag;
        // A colour picked here has no place in the server's text.
        if (item.color.isEmpty())
            item.color = stored->color;
        return Outcome::Replace;
    }
    static QString newRowId();

    // A resource written over several calls: its rows carry its ETag only
    // once the last call wrote them all (before, a row keeps the ETag it had,
    // a new one has none), so that one cut short (the run stopped, the
    // program killed) lists as changed and is fetched again.
    static QString etagWhileWriting(const Fetched &fetched, qsizetype end)
    {
        return end < objectCount(fetched) ? QString() : fetched.resource.etag;
    }

    // The server holds none of `rows`: pending ones lose their server
    // identity, the others go.
    void drop(const QList<CalDavRowRepository::Row> &rows);

    // The server's text of one resource, applied: where rows there still
    // wait to be pushed it is kept for their merge, else as the new base.
    void keepText(const CalDavParse::Resource &resource, bool pending);

    Database *m_database;
    QString m_calendarId;
    CalDavRowRepository m_rows;
    ResourceBaseRepository m_bases;
};
