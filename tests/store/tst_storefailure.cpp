// Why a write failed, as the store explains it after the repository gave up:
// a full disk, a read-only database and a lock held by another connection,
// each made for real on a database file.

#include "eventrepository.h"
#include "storefailure.h"
#include "storefixture.h"
#include "taskrepository.h"

#include <QSqlDatabase>

class TestStoreFailure : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writeFailureNamesItsCause_data();
    void writeFailureNamesItsCause();
    void codesAreClassified_data();
    void codesAreClassified();
};

namespace {

// Another connection to the same file that holds the write lock until it goes.
class LockHolder
{
public:
    explicit LockHolder(const QString &path)
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        m_db.setDatabaseName(path);
        if (m_db.open())
            QSqlQuery(m_db).exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~LockHolder()
    {
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    }

private:
    QSqlDatabase m_db;
};

enum class Condition { Full, QueryOnly, Locked, Constraint };

} // namespace

void TestStoreFailure::writeFailureNamesItsCause_data()
{
    QTest::addColumn<Condition>("condition");
    QTest::addColumn<bool>("task");
    QTest::addColumn<StoreFailure::Kind>("expected");

    QTest::newRow("event insert, file at its size limit: disk full")
        << Condition::Full << false << StoreFailure::DiskFull;
    QTest::newRow("task insert, file at its size limit: disk full")
        << Condition::Full << true << StoreFailure::DiskFull;
    QTest::newRow("event insert, connection read-only: read-only")
        << Condition::QueryOnly << false << StoreFailure::ReadOnly;
    QTest::newRow("task insert, connection read-only: read-only")
        << Condition::QueryOnly << true << StoreFailure::ReadOnly;
    QTest::newRow("event insert, another connection writing: locked")
        << Condition::Locked << false << StoreFailure::Locked;
    QTest::newRow("event insert, rejected by the schema: refused")
        << Condition::Constraint << false << StoreFailure::Refused;
}

void TestStoreFailure::writeFailureNamesItsCause()
{
    QFETCH(Condition, condition);
    QFETCH(bool, task);
    QFETCH(StoreFailure::Kind, expected);

    StoreFixture store;
    seedCalendars(store, {QStringLiteral("cal")});
    EventRepository events(store.db());
    TaskRepository tasks(store.db());
    // Long texts, so that a page limit is hit on the first row.
    Event event = makeEvent(QStringLiteral("e1"), QStringLiteral("cal"), utcTime(2026, 5, 1, 9),
                            utcTime(2026, 5, 1, 10));
    event.description = QString(20000, QLatin1Char('x'));
    Task item = makeTask(QStringLiteral("t1"), QStringLiteral("cal"));
    item.description = event.description;

    std::unique_ptr<LockHolder> holder;
    switch (condition) {
    case Condition::Full: {
        // Without the free pages the indexes dropped by the migrations left.
        store.exec(QStringLiteral("VACUUM"));
        QSqlQuery count(store.sql());
        QVERIFY(count.exec(QStringLiteral("PRAGMA page_count")) && count.next());
        store.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(count.value(0).toInt()));
        break;
    }
    case Condition::QueryOnly: store.exec(QStringLiteral("PRAGMA query_only = 1")); break;
    case Condition::Locked:
        store.exec(QStringLiteral("PRAGMA busy_timeout = 50"));
        holder = std::make_unique<LockHolder>(store.path());
        break;
    case Condition::Constraint: event.calendar_id = QStringLiteral("no-such-calendar"); break;
    }

    StoreFailure::clear();
    QVERIFY(!(task ? tasks.insert(item) : events.insert(event)));
    QCOMPARE(StoreFailure::last(), expected);
    StoreFailure::clear();
    QCOMPARE(StoreFailure::last(), StoreFailure::None);
}

void TestStoreFailure::codesAreClassified_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<StoreFailure::Kind>("expected");

    QTest::newRow("done is no failure") << 101 << StoreFailure::None;
    QTest::newRow("SQLITE_FULL") << 13 << StoreFailure::DiskFull;
    QTest::newRow("SQLITE_READONLY") << 8 << StoreFailure::ReadOnly;
    QTest::newRow("SQLITE_READONLY_DBMOVED (extended)") << (8 | (4 << 8)) << StoreFailure::ReadOnly;
    QTest::newRow("SQLITE_BUSY") << 5 << StoreFailure::Locked;
    QTest::newRow("SQLITE_LOCKED") << 6 << StoreFailure::Locked;
    QTest::newRow("SQLITE_CORRUPT") << 11 << StoreFailure::Io;
}

void TestStoreFailure::codesAreClassified()
{
    QFETCH(int, code);
    QFETCH(StoreFailure::Kind, expected);
    QCOMPARE(StoreFailure::fromSqliteCode(code), expected);
}

QTEST_GUILESS_MAIN(TestStoreFailure)
#include "tst_storefailure.moc"
