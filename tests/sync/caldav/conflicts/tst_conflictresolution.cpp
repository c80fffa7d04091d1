#include "conflictresolutionservice.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using Sync::ConflictResolutionService;

namespace {

Event version(const QString &id, const QString &title, const QString &etag = {})
{
    Event event;
    event.id = id;
    event.uid = id + u"@example.org"_s;
    event.title = title;
    event.etag = etag;
    return event;
}

} // namespace

class TestConflictResolution : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstRecordOfAnEventStays()
    {
        QObject state;
        ConflictResolutionService service(&state, &state);
        QSignalSpy changed(&service, &ConflictResolutionService::conflictsChanged);
        const QDateTime before = QDateTime::currentDateTimeUtc();

        const Event local = version(u"e1"_s, u"Local edit"_s);
        service.recordConflict(local, version(u"e1"_s, u"Server v2"_s, u"\"2\""_s));
        service.recordConflict(local, version(u"e1"_s, u"Server v3"_s, u"\"3\""_s));
        // The same id with other contents is still the same event.
        service.recordConflict(version(u"e1"_s, u"Edited again"_s), version(u"e1"_s, u"Server v4"_s));

        QCOMPARE(changed.count(), 1);
        const QList<SyncConflict> conflicts = service.conflicts();
        QCOMPARE(conflicts.size(), 1);
        QCOMPARE(conflicts.first().local, local);
        QCOMPARE(conflicts.first().remote.title, u"Server v2"_s);
        QCOMPARE(conflicts.first().remote.etag, u"\"2\""_s);
        QVERIFY(conflicts.first().detectedAt >= before.addSecs(-1));
        QCOMPARE(conflicts.first().detectedAt.timeSpec(), Qt::UTC);
    }

    void differentEventsAreKeptInRecordingOrder()
    {
        ConflictResolutionService service(nullptr);
        QSignalSpy changed(&service, &ConflictResolutionService::conflictsChanged);
        service.recordConflict(version(u"b"_s, u"B"_s), version(u"b"_s, u"B'"_s));
        service.recordConflict(version(u"a"_s, u"A"_s), version(u"a"_s, u"A'"_s));
        // Ids compare as exact text.
        service.recordConflict(version(u"A"_s, u"upper"_s), version(u"A"_s, u"upper'"_s));

        QCOMPARE(changed.count(), 3);
        const QList<SyncConflict> conflicts = service.conflicts();
        QStringList order;
        QSet<QString> ids;
        for (const SyncConflict &conflict : conflicts) {
            order.append(conflict.local.id);
            ids.insert(conflict.id);
            QCOMPARE(conflict.id.size(), 36); // a UUID without braces
            QVERIFY(!conflict.id.startsWith(u'{'));
        }
        QCOMPARE(order, (QStringList{u"b"_s, u"a"_s, u"A"_s}));
        QCOMPARE(ids.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestConflictResolution)
#include "tst_conflictresolution.moc"
