#pragma once

#include "recurringeditscope.h"

#include <QDialog>

class AppState;
struct Event;

// Asks how far a change to a repeating event reaches, or a deletion: three
// buttons, each accepting the dialog with its scope, and Cancel. The scope
// stays None until a scope button is pressed.
class RecurringEditScopeDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Purpose { Edit, Delete };

    explicit RecurringEditScopeDialog(const QString &eventTitle, QWidget *parent = nullptr,
                                      Purpose purpose = Purpose::Edit);
    // The prompt for `event`; for an event of a read-only calendar it offers
    // no scope, only the reason and Close.
    RecurringEditScopeDialog(AppState *state, const Event &event, QWidget *parent = nullptr);

    RecurringEditScope scope() const { return m_scope; }

private:
    RecurringEditScope m_scope = RecurringEditScope::None;
};
