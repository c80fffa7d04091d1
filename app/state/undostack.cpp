#include "undostack.h"

#include "storefailure.h"

#include <utility>

UndoStack::UndoStack(QObject *parent)
    : QObject(parent)
{
}

void UndoStack::push(UndoEntry entry)
{
    if (!entry.restore)
        return;
    m_entries.append(std::move(entry));
    while (m_entries.size() > kCapacity)
        m_entries.removeFirst();
    Q_EMIT changed();
}

void UndoStack::undo()
{
    if (m_entries.isEmpty())
        return;
    // Out of the list before it runs, so a restore that pushes lands on top
    // of the remaining entries.
    const UndoEntry entry = m_entries.takeLast();
    // The repositories only log a write they could not make; the store
    // notes it on this thread, and then the change was not taken back.
    StoreFailure::clear();
    entry.restore();
    const bool failed = StoreFailure::last() != StoreFailure::None;
    Q_EMIT changed();
    if (failed)
        Q_EMIT undoFailed(entry.label);
    else
        Q_EMIT undone(entry.label);
}
