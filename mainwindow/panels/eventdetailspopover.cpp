#include "eventdetailspopover.h"

#include "timetext.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventaccess.h"
#include "eventrepository.h"
#include "eventundo.h"
#include "eventwrites.h"
#include "meetingdescription.h"
#include "occurrencedeletion.h"
#include "recurringeditscopedialog.h"
#include "rruleformat.h"
#include "seriesrows.h"
#include "theme.h"
#include "undostack.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTextDocument>
#include <QUrl>
#include <QtMath>
#include <QVBoxLayout>

#include <algorithm>

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
    const QTimeZone ruleZone = event.is_all_day ? QTimeZone() : EventWrites::seriesZone(event);
    if (QLabel *line = addLine(RruleFormat::describe(event.recurrence_rule, ruleZone), true))
        line->setObjectName(u"recurrence"_s);
    if (QLabel *line = addLine(remindersText(event), true))
        line->setObjectName(u"reminders"_s);
    addLine(event.location);
    if (QLabel *line = addRichLine(conferenceHtml(event.conference_url)))
        line->setObjectName(u"conference"_s);
    if (state && state->calendars()) {
        if (const auto calendar = state->calendars()->getById(event.calendar_id)) {
            auto *row = new QHBoxLayout;
            row->setSpacing(6);
            auto *dot = new QLabel(this);
            dot->setPixmap(Theme::colorDotIcon(event.color.isEmpty() ? calendar->color : event.color).pixmap(14, 14));
            row->addWidget(dot);
            auto *name = new QLabel(calendar->name, this);
            name->setTextFormat(Qt::PlainText);
            name->setProperty("muted", true);
            row->addWidget(name, 1);
            content()->addLayout(row);
        }
    }
    // The join line goes when the conference link above stands for it.
    const QString joinUrl = isWebUrl(event.conference_url) ? event.conference_url : QString();
    if (QLabel *notes = addRichLine(meetingDescriptionHtml(event.description, joinUrl, Theme::accent().name()))) {
        notes->setObjectName(u"description"_s);
        // Six whole lines as rich text lays them out, which is taller than
        // the font's line spacing: the last one shown is not cut through.
        QTextDocument lines;
        lines.setDocumentMargin(0);
        lines.setDefaultFont(notes->font());
        lines.setPlainText(u"x\nx\nx\nx\nx\nx"_s);
        notes->setMaximumHeight(qCeil(lines.size().height()));
    }

    // Events of a read-only calendar are shown, not offered for change.
    if (const QString reason = EventAccess::readOnlyReason(state, event.calendar_id); !reason.isEmpty()) {
        if (QLabel *line = addLine(reason, true))
            line->setObjectName(u"readOnlyReason"_s);
        return;
    }
    auto *actions = new QHBoxLayout;
    actions->addStretch();
    QPushButton *edit = actionButton(tr("Edit"), u"edit"_s, this);
    QPushButton *remove = actionButton(tr("Delete"), u"delete"_s, this);
    actions->addWidget(edit);
    actions->addWidget(remove);
    content()->addSpacing(4);
    content()->addLayout(actions);

    connect(edit, &QPushButton::clicked, this, &EventDetailsPopover::editEvent);
    connect(remove, &QPushButton::clicked, this, &EventDetailsPopover::deleteEvent);
    // They wait for a running import rather than run into its lock.
    const auto waitForImport = [edit, remove](bool running) {
        edit->setEnabled(!running);
        remove->setEnabled(!running);
    };
    waitForImport(m_state && m_state->isImportRunning());
    if (m_state)
        connect(m_state, &AppState::importRunningChanged, this, waitForImport);
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
            .arg(locale.toString(start.date(), dateFormat), startTime, TimeText::shortTime(end.time()));
    }
    return tr("%1 %2 – %3 %4")
        .arg(locale.toString(start.date(), dateFormat), startTime, locale.toString(end.date(), dateFormat),
             TimeText::shortTime(end.time()));
}

QString EventDetailsPopover::remindersText(const Event &event)
{
    QList<int> minutes;
    for (const Reminder &reminder : event.reminders)
        minutes.append(reminder.minutes_before);
    std::sort(minutes.begin(), minutes.end());
    QStringList labels;
    for (const int m : std::as_const(minutes))
        labels.append(RruleFormat::reminderOffsetLabel(m));
    return labels.isEmpty() ? QString() : tr("Reminders: %1").arg(labels.join(u", "_s));
}

QString EventDetailsPopover::conferenceHtml(const QString &url)
{
    if (url.trimmed().isEmpty())
        return {};
    if (!isWebUrl(url))
        return tr("Online meeting: %1").arg(url.toHtmlEscaped());
    // The address itself is long and unbroken; its host says enough.
    return u"<a href=\"%1\" style=\"color:%2;\">%3</a> \u00b7 %4"_s.arg(
        url.toHtmlEscaped(), Theme::accent().name(), tr("Join online meeting").toHtmlEscaped(),
        QUrl(url).host().toHtmlEscaped());
}

bool EventDetailsPopover::isRepeating() const
{
    if (m_event.isOverride())
        return true;
    if (!m_state || !m_state->events())
        return false;
    const std::optional<Event> row = m_state->events()->getById(m_event.id);
    return row && (!row->recurrence_rule.isEmpty() || !row->recurrence_dates.isEmpty());
}

RecurringEditScope EventDetailsPopover::askScope(bool deleting)
{
    // The prompt is modal; the pop-up must not close under it.
    hide();
    RecurringEditScopeDialog prompt(m_event.title, parentWidget(),
                                    deleting ? RecurringEditScopeDialog::Purpose::Delete
                                             : RecurringEditScopeDialog::Purpose::Edit);
    return prompt.exec() == QDialog::Accepted ? prompt.scope() : RecurringEditScope::None;
}

void EventDetailsPopover::editEvent()
{
    const Event event = m_event;
    RecurringEditScope scope = RecurringEditScope::AllEvents;
    if (isRepeating()) {
        // Its event loop may close this card for good; then nobody is left
        // to hear the request.
        const QPointer<EventDetailsPopover> self(this);
        scope = askScope(false);
        if (!self)
            return;
    }
    close();
    if (scope != RecurringEditScope::None)
        Q_EMIT editRequested(event, scope);
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
    const Event occurrence = m_event;
    UndoStack *undo = m_state->undoStack();
    // The questions' event loops may close this card for good (another card
    // opened from the tray or a reminder): after the answer only `self` may
    // reach it.
    const QPointer<EventDetailsPopover> self(this);
    const QPointer<QWidget> parent = parentWidget();
    RecurringEditScope scope = RecurringEditScope::None;
    if (isRepeating()) {
        // How far is the question; Cancel keeps everything.
        scope = askScope(true);
    } else {
        // The question box is modal; the pop-up must not close under it.
        hide();
        const auto answer =
            QMessageBox::question(parentWidget(), tr("Delete event?"),
                                  tr("Delete \"%1\"? You can undo with %2.")
                                      .arg(title, QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes)
            scope = RecurringEditScope::AllEvents;
    }
    if (scope != RecurringEditScope::None) {
        const std::optional<QList<Event>> before = OccurrenceDeletion::remove(events, occurrence, scope);
        if (before && undo)
            undo->push(EventUndo::entry(events, tr("Deleted \"%1\"").arg(title), *before));
        // The event stays in the views: without a word it would look deleted
        // until they read it again.
        if (!before)
            QMessageBox::warning(parent, tr("Database Error"), tr("Could not delete \"%1\".").arg(title));
    }
    if (self)
        close();
}
