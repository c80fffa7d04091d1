#include "undostack.h"

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
    entry.restore();
    Q_EMIT changed();
    Q_EMIT undone(entry.label);
}
