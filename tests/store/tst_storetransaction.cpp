// Several writes that stand or fall together: which of them stay when
// transactions nest, end early or fail to commit, on a real database file.

#include "indexrebuild.h"
#include "storefailure.h"
#include "storefixture.h"
#include "storetransaction.h"

#include <stdexcept>

class TestStoreTransaction : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void nestedWorkStays_data();
    void nestedWorkStays();
    void failureIsReported_data();
    void failureIsReported();
    void indexesSetAsideComeBack_data();
    void indexesSetAsideComeBack();

private:
    void write(const QString &body);
    QStringList stored();

    std::unique_ptr<StoreFixture> m_store;
};

namespace {

// How a scope ends.
enum class End { Keep, Discard, LeaveScope, Throw };

// Ends `transaction` as `end` says; a thrown scope unwinds to the caller.
void finish(StoreTransaction &transaction, End end)
{
    switch (end) {
    case End::Keep: QVERIFY(transaction.keep()); break;
    case End::Discard: transaction.discard(); break;
    case End::LeaveScope: break;
    case End::Throw: throw std::runtime_error("write abandoned");
    }
}

} // namespace

void TestStoreTransaction::init()
{
    m_store = std::make_unique<StoreFixture>();
    m_store->exec(QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT NOT NULL)"));
    m_store->exec(QStringLiteral("CREATE TABLE note_links (note_id INTEGER REFERENCES notes(id) "
                                 "DEFERRABLE INITIALLY DEFERRED)"));
    StoreFailure::clear();
}

void TestStoreTransaction::cleanup()
{
    m_store.reset();
}

void TestStoreTransaction::write(const QString &body)
{
    QSqlQuery query(m_store->sql());
    query.prepare(QStringLiteral("INSERT INTO notes (body) VALUES (?)"));
    query.addBindValue(body);
    QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
}

QStringList TestStoreTransaction::stored()
{
    const QString rows = m_store->cli(QStringLiteral("SELECT body FROM notes ORDER BY id"));
    return rows.isEmpty() ? QStringList() : rows.split(QLatin1Char('\n'));
}

void TestStoreTransaction::nestedWorkStays_data()
{
    QTest::addColumn<End>("inner");
    QTest::addColumn<End>("outer");
    QTest::addColumn<QStringList>("expected");

    const QStringList all{QStringLiteral("before"), QStringLiteral("inner"), QStringLiteral("after")};
    const QStringList outerOnly{QStringLiteral("before"), QStringLiteral("after")};

    // The inner scope is a savepoint of the outer transaction.
    QTest::newRow("inner kept, outer kept: everything stays") << End::Keep << End::Keep << all;
    QTest::newRow("inner discarded, outer kept: the outer work stays") << End::Discard << End::Keep << outerOnly;
    QTest::newRow("inner left its scope unkept, outer kept: the outer work stays")
        << End::LeaveScope << End::Keep << outerOnly;

    // The outer scope decides for the inner one as well.
    QTest::newRow("inner kept, outer discarded: nothing stays") << End::Keep << End::Discard << QStringList();
    QTest::newRow("inner kept, outer left its scope unkept: nothing stays")
        << End::Keep << End::LeaveScope << QStringList();
    QTest::newRow("inner kept, outer threw: nothing stays") << End::Keep << End::Throw << QStringList();
    QTest::newRow("inner threw through the outer: nothing stays") << End::Throw << End::Keep << QStringList();
}

void TestStoreTransaction::nestedWorkStays()
{
    QFETCH(End, inner);
    QFETCH(End, outer);
    QFETCH(QStringList, expected);

    Database *db = m_store->db();
    try {
        StoreTransaction outerScope(db);
        QVERIFY(outerScope.isActive());
        QVERIFY(outerScope.isOutermost());
        write(QStringLiteral("before"));
        {
            StoreTransaction innerScope(db);
            QVERIFY(innerScope.isActive());
            QVERIFY(!innerScope.isOutermost());
            write(QStringLiteral("inner"));
            finish(innerScope, inner);
        }
        QVERIFY(db->inTransaction());
        write(QStringLiteral("after"));
        finish(outerScope, outer);
    } catch (const std::runtime_error &) {
    }

    QVERIFY(!db->inTransaction());
    QCOMPARE(stored(), expected);
    QCOMPARE(StoreFailure::last(), StoreFailure::None);
}

void TestStoreTransaction::failureIsReported_data()
{
    QTest::addColumn<bool>("nested");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("began");
    QTest::addColumn<StoreFailure::Kind>("failure");
    QTest::addColumn<QStringList>("expected");

    // A deferred reference is checked at COMMIT: the commit itself fails.
    QTest::newRow("outermost commit refused: false, refused, nothing stays")
        << false << false << true << StoreFailure::Refused << QStringList();
    // A savepoint's release checks nothing; the outer commit does.
    QTest::newRow("commit refused after a kept savepoint: false, refused, nothing stays")
        << true << false << true << StoreFailure::Refused << QStringList();
    QTest::newRow("connection closed: nothing begins, the failure is noted")
        << false << true << false << StoreFailure::Other << QStringList();
}

void TestStoreTransaction::failureIsReported()
{
    QFETCH(bool, nested);
    QFETCH(bool, closed);
    QFETCH(bool, began);
    QFETCH(StoreFailure::Kind, failure);
    QFETCH(QStringList, expected);

    Database closedDatabase;
    Database *db = closed ? &closedDatabase : m_store->db();
    StoreTransaction transaction(db);
    QCOMPARE(transaction.isActive(), began);
    if (began) {
        write(QStringLiteral("kept until the commit"));
        if (nested) {
            StoreTransaction inner(db);
            write(QStringLiteral("inner"));
            QVERIFY(inner.keep());
        }
        m_store->exec(QStringLiteral("INSERT INTO note_links (note_id) VALUES (4711)"));
    }

    QVERIFY(!transaction.keep());
    QVERIFY(!transaction.isActive());
    QVERIFY(!transaction.errorText().isEmpty());
    QCOMPARE(StoreFailure::last(), failure);
    QVERIFY(!m_store->db()->inTransaction());
    QCOMPARE(stored(), expected);
}

void TestStoreTransaction::indexesSetAsideComeBack_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<qint64>("toCome");
    QTest::addColumn<bool>("inTransaction");
    QTest::addColumn<End>("end");
    QTest::addColumn<QStringList>("setAside");

    const qint64 many = IndexRebuild::kMinimumRows;
    const QStringList full{QStringLiteral("idx_notes_body")};
    QTest::newRow("many rows into none, restored and kept") << 0 << many << true << End::Keep << full;
    QTest::newRow("many rows into none, rolled back") << 0 << many << true << End::Discard << full;
    QTest::newRow("many rows into none, scope left with the transaction open")
        << 0 << many << true << End::LeaveScope << full;
    QTest::newRow("fewer rows than stored") << int(many) + 1 << many << true << End::Keep << QStringList();
    QTest::newRow("too few rows to be worth it") << 0 << many - 1 << true << End::Keep << QStringList();
    // The drop would stand alone, and the indexes stay lost on a crash.
    QTest::newRow("outside a transaction") << 0 << many << false << End::Keep << QStringList();
}

// The indexes a bulk write sets aside are there again, as they were, however
// its transaction ends; unique and partial ones are never set aside.
void TestStoreTransaction::indexesSetAsideComeBack()
{
    QFETCH(int, stored);
    QFETCH(qint64, toCome);
    QFETCH(bool, inTransaction);
    QFETCH(End, end);
    QFETCH(QStringList, setAside);

    m_store->exec(QStringLiteral("CREATE INDEX idx_notes_body ON notes(body)"));
    m_store->exec(QStringLiteral("CREATE UNIQUE INDEX idx_notes_key ON notes(body, id)"));
    m_store->exec(QStringLiteral("CREATE INDEX idx_notes_short ON notes(id) WHERE length(body) < 3"));
    m_store->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                 "INSERT INTO notes (body) SELECT 'stored ' || i FROM n")
                      .arg(stored));
    const QString schema = QStringLiteral("SELECT name || ': ' || sql FROM sqlite_schema WHERE type = 'index' "
                                          "AND tbl_name = 'notes' ORDER BY name");
    const QString before = m_store->cli(schema);

    Database *db = m_store->db();
    {
        StoreTransaction transaction(db);
        QVERIFY(transaction.isActive());
        if (!inTransaction)
            transaction.discard();
        {
            IndexRebuild indexes(db, QStringLiteral("notes"), toCome);
            QCOMPARE(indexes.setAside(), setAside);
            if (inTransaction)
                write(QStringLiteral("new"));
            if (end == End::Keep)
                QVERIFY(indexes.restore());
            if (end == End::Discard)
                transaction.discard();
        }
        if (transaction.isActive())
            QVERIFY(transaction.keep());
    }

    QCOMPARE(m_store->cli(schema), before);
    const bool kept = inTransaction && end != End::Discard;
    QCOMPARE(m_store->cli(QStringLiteral("SELECT COUNT(*) FROM notes WHERE body = 'new'")),
             QString::number(int(kept)));
    QCOMPARE(m_store->cli(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
}

QTEST_GUILESS_MAIN(TestStoreTransaction)
#include "tst_storetransaction.moc"
