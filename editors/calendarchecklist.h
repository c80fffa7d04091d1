#pragma once

#include <QListWidget>
#include <QSet>
#include <QStringList>

class AppState;

// The calendars a rule or a group applies to, as checkable rows sorted by
// account name, then calendar name. Ids given to setCheckedIds() whose
// calendar is not listed (hidden, or gone) are kept and written back by
// checkedIdsJson(): a scoped selection must not widen to "every calendar"
// just because its calendars are out of sight.
class CalendarChecklist : public QListWidget
{
    Q_OBJECT
public:
    enum class Calendars { VisibleOnly, All };

    CalendarChecklist(AppState *state, Calendars which, QWidget *parent = nullptr);

    // Reads a compact JSON array of ids; anything else counts as empty.
    void setCheckedIds(const QString &calendarIdsJson);
    // The checked rows' ids in list order, then the unlisted ids that were
    // given, as a compact JSON array ("[]" when none).
    QString checkedIdsJson() const;
    QStringList checkedIds() const;

private:
    QStringList m_unlistedIds;
};
