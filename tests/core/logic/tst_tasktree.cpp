#include "tasktree.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "C<P" is task C under parent uid P; "C*" is completed; "C#3" has sort_order 3.
Task task(const QString &spec)
{
    const QStringList parts = spec.split(u'<');
    QString head = parts.at(0);
    Task t;
    t.title = spec;
    if (parts.size() > 1)
        t.parent_task_uid = parts.at(1);
    const qsizetype hash = head.indexOf(u'#');
    if (hash >= 0) {
        t.sort_order = head.mid(hash + 1).toInt();
        head.truncate(hash);
    }
    if (head.endsWith(u'*')) {
        t.status = u"completed"_s;
        head.chop(1);
    }
    t.uid = head;
    return t;
}

QList<Task> tasks(const QStringList &specs)
{
    QList<Task> out;
    for (const QString &s : specs)
        out.append(task(s));
    return out;
}

QStringList rendered(const QList<TreeTask> &tree)
{
    QStringList out;
    for (const TreeTask &t : tree)
        out.append(u"%1 %2"_s.arg(t.task.uid).arg(t.depth));
    return out;
}

QStringList sorted(const QSet<QString> &set)
{
    QStringList out(set.cbegin(), set.cend());
    out.sort();
    return out;
}

// A parent chain 0 <- 1 <- 2 ... of `length` tasks; with `closed` task 0
// names the last one as its parent, making the whole chain one cycle.
QList<Task> chain(int length, bool closed)
{
    QList<Task> out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        Task t;
        t.uid = QString::number(i);
        t.parent_task_uid = i > 0 ? QString::number(i - 1) : closed ? QString::number(length - 1) : QString();
        t.status = i == length - 1 ? u"needs-action"_s : u"completed"_s;
        out.append(t);
    }
    return out;
}

} // namespace

class TestTaskTree : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void flatten_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("depth first, children in input order") << QStringList{u"C1<P"_s, u"P"_s, u"G<C1"_s, u"C2<P"_s}
                                                              << QStringList{u"P 0"_s, u"C1 1"_s, u"G 2"_s, u"C2 1"_s};
        QTest::newRow("parent missing from the list: top level with its own children")
            << QStringList{u"A<gone"_s, u"B<A"_s} << QStringList{u"A 0"_s, u"B 1"_s};
        // Cycles no root reaches follow the roots, broken at their first member.
        QTest::newRow("two tasks naming each other")
            << QStringList{u"A<B"_s, u"R"_s, u"B<A"_s} << QStringList{u"R 0"_s, u"A 0"_s, u"B 1"_s};
        QTest::newRow("a task naming itself, with a child")
            << QStringList{u"K<S"_s, u"S<S"_s} << QStringList{u"S 0"_s, u"K 1"_s};
        QTest::newRow("a tail hanging off a cycle stays under it")
            << QStringList{u"T<B"_s, u"B<A"_s, u"A<B"_s} << QStringList{u"B 0"_s, u"T 1"_s, u"A 1"_s};
        QTest::newRow("repeated uids: every task once, children under the first bearer")
            << QStringList{u"X"_s, u"X"_s, u"C<X"_s} << QStringList{u"X 0"_s, u"C 1"_s, u"X 0"_s};
        QTest::newRow("a self-parented task sharing a reachable uid")
            << QStringList{u"X"_s, u"X<X"_s, u"C<X"_s} << QStringList{u"X 0"_s, u"X 1"_s, u"C 2"_s};
        QTest::newRow("a task without a uid has no children")
            << QStringList{u""_s, u"A"_s, u"B<A"_s} << QStringList{u" 0"_s, u"A 0"_s, u"B 1"_s};
    }

    void flatten()
    {
        QFETCH(QStringList, input);
        QTEST(rendered(TaskTree::flatten(tasks(input))), "expected");
    }

    void manualOrderFirstThenWrappedComparator()
    {
        const auto byTitleDescending = [](const Task &a, const Task &b) { return a.title > b.title; };
        const QList<Task> input = tasks({u"P"_s, u"a<P"_s, u"b#3<P"_s, u"c<P"_s, u"d#1<P"_s, u"e#-2<P"_s});

        QCOMPARE(rendered(TaskTree::flatten(input, TaskTree::withManualSortOrder(byTitleDescending))),
                 (QStringList{u"P 0"_s, u"e 1"_s, u"d 1"_s, u"b 1"_s, u"c 1"_s, u"a 1"_s}));
        // Without a wrapped comparator the unordered siblings keep their input order.
        QCOMPARE(rendered(TaskTree::flatten(input, TaskTree::withManualSortOrder({}))),
                 (QStringList{u"P 0"_s, u"e 1"_s, u"d 1"_s, u"b 1"_s, u"a 1"_s, u"c 1"_s}));
    }

    void siblingsTheComparatorLeavesEqualKeepInputOrder()
    {
        QStringList specs{u"P"_s};
        QStringList expected{u"P 0"_s};
        for (int i = 0; i < 40; ++i) {
            specs.append(u"c%1<P"_s.arg(i));
            expected.append(u"c%1 1"_s.arg(i));
        }
        const auto noOrder = [](const Task &, const Task &) { return false; };
        QCOMPARE(rendered(TaskTree::flatten(tasks(specs), noOrder)), expected);
    }

    void completedKeptByActiveTree_data()
    {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<QStringList>("kept");

        QTest::newRow("completed parent of an open child") << QStringList{u"P*"_s, u"C<P"_s} << QStringList{u"P"_s};
        QTest::newRow("an entirely completed tree contributes nothing")
            << QStringList{u"P*"_s, u"C*<P"_s, u"Q"_s} << QStringList();
        QTest::newRow("completed child and grandchild of an open parent")
            << QStringList{u"P"_s, u"C*<P"_s, u"G*<C"_s} << QStringList{u"C"_s, u"G"_s};
        QTest::newRow("a cycle is a tree of its own")
            << QStringList{u"A*<B"_s, u"B<A"_s, u"X*<Y"_s, u"Y*<X"_s} << QStringList{u"A"_s};
    }

    void completedKeptByActiveTree()
    {
        QFETCH(QStringList, input);
        QTEST(sorted(TaskTree::completedKeptByActiveTree(tasks(input))), "kept");
    }

    // Deep chains must not overflow the stack (an iterative walk), and a long
    // cycle must neither loop nor lose tasks.
    void deepChains_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::newRow("100,000-deep chain") << false;
        QTest::newRow("100,000-long cycle") << true;
    }

    void deepChains()
    {
        QFETCH(bool, closed);
        const int n = 100000;
        const QList<Task> input = chain(n, closed);
        const QList<TreeTask> tree = TaskTree::flatten(input);
        QCOMPARE(tree.size(), n);
        QCOMPARE(tree.first().task.uid, u"0"_s);
        QCOMPARE(tree.last().task.uid, QString::number(n - 1));
        QCOMPARE(tree.last().depth, n - 1);
        // The one open task at the bottom keeps every completed ancestor.
        QCOMPARE(TaskTree::completedKeptByActiveTree(input).size(), n - 1);
    }
};

QTEST_GUILESS_MAIN(TestTaskTree)
#include "tst_tasktree.moc"
