#include "conflictresolutionservice.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Sync::ConflictResolutionService;

namespace {

Event version(const QString &id, const QString &title)
{
    Event event;
    event.id = id;
    event.title = title;
    return event;
}

} // namespace

class TestConflictResolution : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The first server version seen for an event stays; other events are kept
    // in the order met, their ids compared as exact text.
    void oneConflictPerEvent()
    {
        ConflictResolutionService service(nullptr);
        QSignalSpy changed(&service, &ConflictResolutionService::conflictsChanged);
        service.recordConflict(version(u"b"_s, u"Local"_s), version(u"b"_s, u"Server v2"_s));
        service.recordConflict(version(u"b"_s, u"Edited again"_s), version(u"b"_s, u"Server v3"_s));
        service.recordConflict(version(u"a"_s, u"A"_s), version(u"a"_s, u"A'"_s));
        service.recordConflict(version(u"A"_s, u"upper"_s), version(u"A"_s, u"upper'"_s));

        QCOMPARE(changed.count(), 3);
        QStringList seen;
        QSet<QString> ids;
        for (const SyncConflict &conflict : service.conflicts()) {
            seen.append(conflict.local.title + u'/' + conflict.remote.title);
            ids.insert(conflict.id);
        }
        QCOMPARE(seen, (QStringList{u"Local/Server v2"_s, u"A/A'"_s, u"upper/upper'"_s}));
        QCOMPARE(ids.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestConflictResolution)
#include "tst_conflictresolution.moc"
