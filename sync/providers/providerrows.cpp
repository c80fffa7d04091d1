#include "providerrows.h"

#include "database.h"
#include "eventmerge.h"
#include "eventrepository.h"
#include "exceptionkey.h"
#include "providerslog.h"
#include "recordnames.h"

#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace {

// The row's exception dates that the base did not have (occurrences it
// excluded apart from the rule, or here) joined to the server's.
QString keptExceptions(const Event &local, const std::optional<Event> &base, const Event &server)
{
    QStringList dates = EventMerge::dateList(server.exception_dates);
    const QStringList before = base ? EventMerge::dateList(base->exception_dates) : QStringList();
    for (const QString &date : EventMerge::dateList(local.exception_dates)) {
        if (!ExceptionKey::listed(server, before, date) && !ExceptionKey::listed(server, dates, date))
            dates.append(date);
    }
    return EventMerge::dateJson(dates);
}

} // namespace

ProviderRows::ProviderRows(AppState *appState, const QString &calendarId, FromJson fromJson, ToJson toJson)
    : ProviderRows(ProviderStore::of(appState), calendarId, std::move(fromJson), std::move(toJson))
{
}

ProviderRows::ProviderRows(const ProviderStore &store, const QString &calendarId, FromJson fromJson, ToJson toJson)
    : m_store(store)
    , m_calendarId(calendarId)
    , m_fromJson(std::move(fromJson))
    , m_toJson(std::move(toJson))
    , m_bases(store.database)
    , m_rows(store.database)
{
}

std::optional<Event> ProviderRows::baseOf(const Event &row, QString *etag) const
{
    const std::optional<ResourceBaseRepository::Texts> texts = m_bases.texts(m_calendarId, row.provider_event_id);
    QString text;
    if (texts) {
        // A newer server copy, once merged in, is what the next write goes against.
        const bool ahead = !texts->server.isEmpty();
        text = ahead ? texts->server : texts->base;
        if (etag && ahead)
            *etag = texts->serverEtag;
    } else {
        // A row pulled and not written since holds the server's copy itself.
        text = row.raw_icalendar;
    }
    const QJsonObject item = QJsonDocument::fromJson(text.toUtf8()).object();
    if (item.value("id"_L1).toString() != row.provider_event_id)
        return std::nullopt;
    return m_fromJson(item);
}

bool ProviderRows::insert(const Event &server)
{
    // Its text is its base: nothing kept apart, which a large first pull would pay for.
    return m_store.events->insert(server);
}

bool ProviderRows::take(const Event &local, Event server)
{
    EventRepository *events = m_store.events;
    if (local.sync_status != SyncStatus::Pending) {
        server.id = local.id;
        server.created = local.created;
        // The base only tells which of the row's own exception dates to keep:
        // a row without any is not worth its read.
        const bool ownDates = !EventMerge::dateList(local.exception_dates).isEmpty();
        server.exception_dates = keptExceptions(local, ownDates ? baseOf(local) : std::nullopt, server);
        if (!events->update(server))
            return false;
        forget({server.provider_event_id}); // the row's text is its base again
        return true;
    }
    const std::optional<Event> base = baseOf(local);
    if (local.deleted_at) {
        // Deleted here: the deletion goes out against the version it saw.
        keepServerText(server);
        return true;
    }
    bool conflict = false;
    // Without a base nothing tells who changed what: the local row stays as it is.
    Event merged = base ? EventMerge::merge(*base, local, server, &conflict) : local;
    if (!base) // as far as the provider's copy says anything
        conflict = m_toJson(local) != m_toJson(server);
    if (conflict && m_store.conflict) {
        qCInfo(lcProviders) << "both sides changed" << local.id << "- the local version stays";
        Event remote = server;
        remote.id = local.id;
        m_store.conflict(local, remote);
    }
    if (merged != local && !events->update(merged))
        return false;
    keepServerText(server);
    return true;
}

ProviderRows::Update ProviderRows::update(const Event &row) const
{
    Update out;
    out.etag = row.etag;
    const std::optional<Event> reference = baseOf(row, &out.etag);
    if (!reference) {
        out.body = m_toJson(row);
        return out;
    }
    // Occurrences excluded here go to their instances, not into the series.
    Event sent = row;
    if (!row.recurrence_rule.isEmpty()) {
        const QStringList before = EventMerge::dateList(reference->exception_dates);
        QStringList kept;
        for (const QString &date : EventMerge::dateList(row.exception_dates))
            (ExceptionKey::listed(row, before, date) ? kept : out.cancelled).append(date);
        sent.exception_dates = EventMerge::dateJson(kept);
    }
    out.body = changes(m_toJson(*reference), m_toJson(sent));
    return out;
}

void ProviderRows::written(const QString &providerEventId, const QJsonObject &resource)
{
    if (m_bases.keepBase(m_calendarId, providerEventId,
                         QString::fromUtf8(QJsonDocument(resource).toJson(QJsonDocument::Compact)))
        && m_withBase)
        m_withBase->insert(providerEventId);
}

void ProviderRows::gone(const QString &providerEventId)
{
    forget({providerEventId});
}

void ProviderRows::keepServerText(const Event &server)
{
    if (m_bases.keepServerText(m_calendarId, server.provider_event_id, server.etag, server.raw_icalendar)
        && m_withBase)
        m_withBase->insert(server.provider_event_id);
}

bool ProviderRows::forget(const QStringList &providerIds)
{
    if (!m_withBase)
        return m_bases.forget(m_calendarId, providerIds);
    QStringList kept;
    for (const QString &id : providerIds) {
        if (m_withBase->contains(id))
            kept.append(id);
    }
    if (kept.isEmpty())
        return true;
    if (!m_bases.forget(m_calendarId, kept)) {
        m_withBase.reset(); // which of them went is not known
        return false;
    }
    for (const QString &id : std::as_const(kept))
        m_withBase->remove(id);
    return true;
}

ProviderRows::Round::Round(ProviderRows &rows)
    : m_rows(rows)
{
    // Outside a transaction another connection may keep a base meanwhile.
    if (rows.m_store.database->inTransaction())
        rows.m_withBase = rows.m_bases.hrefsOf(rows.m_calendarId);
}

ProviderRows::Round::~Round()
{
    m_rows.m_withBase.reset();
}

bool ProviderRows::removeAll(const QList<Event> &rows)
{
    QStringList ids;
    QStringList providerIds;
    ids.reserve(rows.size());
    providerIds.reserve(rows.size());
    for (const Event &row : rows) {
        ids.append(row.id);
        providerIds.append(row.provider_event_id);
    }
    return remove(ids, providerIds);
}

bool ProviderRows::remove(const QStringList &ids, const QStringList &providerIds)
{
    if (!m_rows.removeRows(ids))
        return false;
    forget(providerIds);
    return true;
}

int ProviderRows::pruneUnlisted(const QSet<QString> &listed, const QDateTime &from, const QDateTime &to)
{
    const QHash<QString, QString> stale = m_rows.syncedRowsNotIn(m_calendarId, listed, from, to);
    return remove(stale.keys(), stale.values()) ? int(stale.size()) : 0;
}

QJsonObject ProviderRows::changes(const QJsonObject &reference, const QJsonObject &local)
{
    QJsonObject out;
    for (auto it = local.constBegin(); it != local.constEnd(); ++it) {
        if (reference.value(it.key()) != it.value())
            out.insert(it.key(), it.value());
    }
    for (auto it = reference.constBegin(); it != reference.constEnd(); ++it) {
        if (!local.contains(it.key()))
            out.insert(it.key(), QJsonValue::Null);
    }
    return out;
}
