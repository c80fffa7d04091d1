#pragma once

#include "event.h"
#include "googleeventstore.h"
#include "providerapplyjob.h"
#include "providerproblems.h"
#include "providerrows.h"
#include "providerstore.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>

#include <atomic>
#include <optional>

namespace Google {

// The server's changes of one listing written into a calendar's rows (on a
// ProviderApplyJob's connection): new events inserted, changed ones taken
// over synced rows and merged into pending ones, cancelled ones removed
// (a series with its changed occurrences) or excluded from their series,
// and after a complete listing the synced rows it no longer names removed.
// An item that cannot be stored is recorded as the calendar's problem and
// counted as failed; one met before in the same version waits for its next.
class PageApply
{
public:
    struct Listing
    {
        QString calendarId;
        QList<QJsonObject> items;
        bool complete = false; // a full listing: what it does not name is gone
    };

    static void run(const Listing &listing, const ProviderStore &store, ProviderApplyJob::Outcome &outcome,
                    const std::atomic<bool> &cancelled);
    // A calendar's rows under Google's mapping of its events.
    static ProviderRows rowsOf(const ProviderStore &store, const QString &calendarId);

private:
    PageApply(const Listing &listing, const ProviderStore &store, ProviderApplyJob::Outcome &outcome);
    void applyItem(const QJsonObject &item);
    // The local row of the pulled occurrence `mapped`, whose series id
    // becomes the series row's uid.
    std::optional<Event> matchOccurrence(Event &mapped, std::optional<Event> local);
    // Removes the synced occurrence rows of the series row `seriesRowId`; how many.
    int dropOccurrences(const QString &seriesRowId);
    void finish();

    const Listing &m_listing;
    const ProviderStore &m_store;
    ProviderApplyJob::Outcome &m_outcome;
    GoogleEventStore m_columns;
    ProviderRows m_rows;
    ProviderProblems m_problems;
    const QHash<QString, QString> m_unreadable; // items recorded before, with their version
    QHash<QString, QString> m_rowOf; // provider id -> local row id
    QSet<QString> m_listed;
    QList<QPair<QString, QString>> m_cancelledInstances; // series id, original start
};

} // namespace Google
