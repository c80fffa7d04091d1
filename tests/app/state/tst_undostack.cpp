#include "undostack.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestUndoStack : public QObject
{
    Q_OBJECT
private:
    // Pushes an entry that records its label in `ran` when undone.
    static void pushRecording(UndoStack &stack, const QString &label, QStringList *ran)
    {
        stack.push({label, [label, ran] { ran->append(label); }});
    }

private Q_SLOTS:
    void keepsTheNewestTwenty()
    {
        UndoStack stack;
        QStringList ran;
        for (int i = 1; i <= 21; ++i)
            pushRecording(stack, u"Moved \"%1\""_s.arg(i), &ran);
        while (stack.canUndo())
            stack.undo();
        QCOMPARE(ran.size(), 20);
        QCOMPARE(ran.first(), u"Moved \"21\""_s);
        QCOMPARE(ran.last(), u"Moved \"2\""_s); // the first one pushed is gone
    }

    void undoRunsNewestFirstThenSignals()
    {
        UndoStack stack;
        QStringList events;
        connect(&stack, &UndoStack::changed, this, [&events] { events.append(u"changed"_s); });
        connect(&stack, &UndoStack::undone, this,
                [&events](const QString &label) { events.append(u"undone "_s + label); });
        stack.push({u"A"_s, [&events] { events.append(u"restore A"_s); }});
        stack.push({u"B"_s, [&events] { events.append(u"restore B"_s); }});
        events.clear();
        stack.undo();
        stack.undo();
        QCOMPARE(events,
                 (QStringList{u"restore B"_s, u"changed"_s, u"undone B"_s, u"restore A"_s, u"changed"_s,
                              u"undone A"_s}));
        QVERIFY(!stack.canUndo());
    }

    void emptyRestoreIsDroppedAndEmptyUndoDoesNothing()
    {
        UndoStack stack;
        QSignalSpy changed(&stack, &UndoStack::changed);
        QSignalSpy undone(&stack, &UndoStack::undone);
        stack.push({u"Nothing"_s, {}});
        QVERIFY(!stack.canUndo());
        stack.undo();
        QCOMPARE(changed.count(), 0);
        QCOMPARE(undone.count(), 0);
    }

    // The entry being undone is already out of the list, so what its restore
    // pushes lands on top of the rest.
    void restoreThatPushesLandsOnTop()
    {
        UndoStack stack;
        QStringList ran;
        pushRecording(stack, u"older"_s, &ran);
        stack.push({u"outer"_s, [&stack, &ran] { pushRecording(stack, u"pushed by restore"_s, &ran); }});
        stack.undo();
        stack.undo();
        stack.undo();
        QCOMPARE(ran, (QStringList{u"pushed by restore"_s, u"older"_s}));
        QVERIFY(!stack.canUndo());
    }
};

QTEST_GUILESS_MAIN(TestUndoStack)
#include "tst_undostack.moc"
