#pragma once

#include "recurringedit.h"

#include <QDialog>

// Asks how far a change to a repeating event reaches: three buttons, each
// accepting the dialog with its scope, and Cancel. The scope stays None
// until a scope button is pressed. With a read-only reason (see
// ReadOnlyCalendar) the dialog says it and offers Cancel alone.
class RecurringEditScopeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RecurringEditScopeDialog(const QString &eventTitle, QWidget *parent = nullptr,
                                      const QString &readOnlyReason = QString());

    RecurringEditScope scope() const { return m_scope; }

private:
    RecurringEditScope m_scope = RecurringEditScope::None;
};
