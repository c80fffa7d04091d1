#pragma once

#include <QListWidget>
#include <QSet>
#include <QStringList>

class AppState;
class QLabel;

// The calendars a rule or a group applies to, as checkable rows sorted by
// account name, then calendar name. Ids given to setCheckedIds() whose
// calendar is not listed but exists (hidden) are kept and written back by
// checkedIdsJson(): a scoped selection must not widen to "every calendar"
// just because its calendars are out of sight. Ids of calendars that no
// longer exist are dropped.
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
    // setCheckedIds() dropped ids of calendars that no longer exist.
    bool droppedGoneIds() const { return m_droppedGone; }
    // The list named calendars and every one of them is gone: it now covers
    // none, and once saved without them, every calendar.
    bool everyCalendarGone() const { return m_everyGone; }
    // The form's word for that case, hidden until the form shows it.
    static QLabel *goneNotice(const QString &text, QWidget *parent);

private:
    QSet<QString> m_existingIds;
    QStringList m_unlistedIds;
    bool m_droppedGone = false;
    bool m_everyGone = false;
};
