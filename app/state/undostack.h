#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// One change the user can take back: a translated label and a function that
// puts the previous state back. The function captures by value all it needs.
struct UndoEntry
{
    QString label;
    std::function<void()> restore;
};

// The last direct-manipulation changes to events (moves, resizes, deletes),
// newest last, at most kCapacity of them. No redo, not saved across runs.
class UndoStack : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCapacity = 20;

    explicit UndoStack(QObject *parent = nullptr);

    // An entry without a restore function is dropped silently. The oldest
    // entry goes when the stack is full.
    void push(UndoEntry entry);
    // Takes the newest entry off and runs its restore function; whatever that
    // function does, the entry is gone. Nothing on an empty stack. A restore
    // during which the store noted a failure (StoreFailure) ends in
    // undoFailed() instead of undone().
    void undo();
    bool canUndo() const { return !m_entries.isEmpty(); }

Q_SIGNALS:
    void changed();
    void undone(const QString &label);
    void undoFailed(const QString &label);

private:
    QList<UndoEntry> m_entries;
};
