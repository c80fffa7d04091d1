#include "eventdetailspopover.h"

#include "timetext.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "eventundo.h"
#include "readonlycalendar.h"
#include "seriesrows.h"
#include "theme.h"
#include "undostack.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QPointer<EventDetailsPopover> EventDetailsPopover::s_open;

namespace {

QPushButton *actionButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(u"QPushButton { color: %1; }"_s.arg(Theme::accent().name()));
    return button;
}

} // namespace

EventDetailsPopover::EventDetailsPopover(AppState *state, const Event &event, QWidget *parent)
    : DetailsPopover(parent)
    , m_state(state)
    , m_event(event)
{
    closeOpen();
    s_open = this;
    setObjectName(u"eventDetailsPopover"_s);

    addHeading(event.title.isEmpty() ? tr("(No title)") : event.title);
    addLine(whenText(event), true);
    if (!event.recurrence_rule.isEmpty())
        addLine(tr("Repeats"), true);
    addLine(event.location);
    if (state && state->calendars()) {
        if (const auto calendar = state->calendars()->getById(event.calendar_id)) {
            auto *row = new QHBoxLayout;
            row->setSpacing(6);
            auto *dot = new QLabel(this);
            dot->setPixmap(Theme::colorDotIcon(event.color.isEmpty() ? calendar->color : event.color).pixmap(14, 14));
            row->addWidget(dot);
            auto *name = new QLabel(calendar->name, this);
            name->setProperty("muted", true);
            row->addWidget(name, 1);
            content()->addLayout(row);
        }
    }
    if (QLabel *notes = addLine(event.description))
        notes->setMaximumHeight(notes->fontMetrics().lineSpacing() * 6);

    auto *actions = new QHBoxLayout;
    actions->addStretch();
    QPushButton *edit = actionButton(tr("Edit"), u"edit"_s, this);
    QPushButton *remove = actionButton(tr("Delete"), u"delete"_s, this);
    actions->addWidget(edit);
    actions->addWidget(remove);
    // A read-only calendar's event is shown, not changed.
    const QString readOnly = ReadOnlyCalendar::reason(state, event.calendar_id);
    if (!readOnly.isEmpty()) {
        addLine(readOnly, true)->setObjectName(u"readOnlyNotice"_s);
        for (QPushButton *button : {edit, remove}) {
            button->setEnabled(false);
            button->setToolTip(readOnly);
        }
    }
    content()->addSpacing(4);
    content()->addLayout(actions);

    connect(edit, &QPushButton::clicked, this, [this] {
        const Event event = m_event;
        close();
        Q_EMIT editRequested(event);
    });
    connect(remove, &QPushButton::clicked, this, &EventDetailsPopover::deleteEvent);
}

EventDetailsPopover::~EventDetailsPopover() = default;

void EventDetailsPopover::closeOpen()
{
    if (s_open)
        s_open->close();
}

QString EventDetailsPopover::whenText(const Event &event)
{
    const QLocale locale;
    const QString dateFormat = u"ddd, MMM d, yyyy"_s;
    if (event.is_all_day) {
        const QDate first = event.start_time.date();
        QDate last = event.end_time ? event.end_time->date().addDays(-1) : first;
        if (last < first)
            last = first;
        if (last == first)
            return tr("%1 · All day").arg(locale.toString(first, dateFormat));
        return tr("%1 – %2 · All day").arg(locale.toString(first, dateFormat), locale.toString(last, dateFormat));
    }
    const QDateTime start = event.start_time.toLocalTime();
    const QDateTime end = event.end_time ? event.end_time->toLocalTime() : start;
    const QString startTime = TimeText::shortTime(start.time());
    if (end.date() == start.date()) {
        return tr("%1 · %2 – %3")
            .arg(locale.toString(start.date(), dateFormat), startTime,
                 TimeText::shortTime(end.time()));
    }
    return tr("%1 %2 – %3 %4")
        .arg(locale.toString(start.date(), dateFormat), startTime, locale.toString(end.date(), dateFormat),
             TimeText::shortTime(end.time()));
}

void EventDetailsPopover::deleteEvent()
{
    if (!m_state || !m_state->events())
        return;
    EventRepository *events = m_state->events();
    const std::optional<Event> row = events->getById(m_event.id);
    if (!row || row->deleted_at) {
        close();
        return;
    }
    const QString title = row->title;
    UndoStack *undo = m_state->undoStack();
    // The question box is modal; the pop-up must not close under it.
    hide();
    // Its event loop may close this card for good (another card opened from
    // the tray or a reminder): after the answer only `self` may reach it.
    const QPointer<EventDetailsPopover> self(this);
    const auto answer = QMessageBox::question(
        parentWidget(), tr("Delete event?"),
        tr("Delete \"%1\"? You can undo with %2.")
            .arg(title, QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        // A series goes with its overrides.
        const QList<Event> before = QList<Event>{*row} + SeriesRows::liveOverrides(events, *row);
        bool removed = true;
        for (const Event &event : before)
            removed = events->remove(event.id) && removed;
        if (removed && undo)
            undo->push(EventUndo::entry(events, tr("Deleted \"%1\"").arg(title), before));
    }
    if (self)
        close();
}
