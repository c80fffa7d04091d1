#include "datetimepicker.h"

#include "theme.h"
#include "timetext.h"
#include "timeutil.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QStyle>

using namespace Qt::StringLiterals;

namespace {

constexpr int kStepMinutes = 15;

QTime parseTime(const QString &typed)
{
    const QString text = typed.trimmed().toUpper();
    static const QStringList formats = {u"H:mm"_s, u"h:mm AP"_s, u"h:mmAP"_s, u"h AP"_s,
                                        u"hAP"_s,  u"H.mm"_s,    u"Hmm"_s,    u"H"_s};
    for (const QString &format : formats) {
        const QTime time = QTime::fromString(text, format);
        if (time.isValid())
            return time;
    }
    return QTime();
}

} // namespace

DateTimePicker::DateTimePicker(Qt::DayOfWeek firstDayOfWeek, QWidget *parent)
    : QWidget(parent)
    , m_dateEdit(new QDateEdit(this))
    , m_timeCombo(new QComboBox(this))
    , m_time(QTime::currentTime().hour(), 0)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    m_dateEdit->setObjectName(u"dateEdit"_s);
    m_dateEdit->setCalendarPopup(true);
    m_dateEdit->setDate(QDate::currentDate());
    Theme::applyFirstDayOfWeek(m_dateEdit, firstDayOfWeek);
    layout->addWidget(m_dateEdit, 1);

    m_timeCombo->setObjectName(u"timeCombo"_s);
    m_timeCombo->setEditable(true);
    m_timeCombo->setInsertPolicy(QComboBox::NoInsert);
    m_timeCombo->setMaxVisibleItems(12);
    for (int minutes = 0; minutes < 24 * 60; minutes += kStepMinutes) {
        const QTime time(minutes / 60, minutes % 60);
        m_timeCombo->addItem(timeText(time), time);
    }
    layout->addWidget(m_timeCombo);
    showTime();

    connect(m_dateEdit, &QDateEdit::dateChanged, this, [this] { changed(); });
    connect(m_timeCombo, &QComboBox::activated, this,
            [this](int index) { setTime(m_timeCombo->itemData(index).toTime()); });
    connect(m_timeCombo->lineEdit(), &QLineEdit::editingFinished, this, &DateTimePicker::takeTypedTime);
}

void DateTimePicker::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        fitTimeList();
}

void DateTimePicker::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    fitTimeList();
}

// The list opens as wide as the combo box, which the form may make narrower
// than a time with the list's item padding: every entry would be elided.
// Measured after the style sheet is applied, which sets that padding.
void DateTimePicker::fitTimeList()
{
    QAbstractItemView *view = m_timeCombo->view();
    int widest = 0;
    for (int row = 0; row < m_timeCombo->count(); ++row)
        widest = qMax(widest, view->sizeHintForIndex(m_timeCombo->model()->index(row, 0)).width());
    view->setMinimumWidth(widest + 2 * view->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, view)
                          + view->verticalScrollBar()->sizeHint().width());
}

QString DateTimePicker::timeText(const QTime &time)
{
    return TimeText::shortTime(time);
}

void DateTimePicker::setDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return;
    const QDateTime before = this->dateTime();
    const QDateTime local = dateTime.toLocalTime();
    ++m_updating;
    m_dateEdit->setDate(local.date());
    m_time = local.time();
    showTime();
    --m_updating;
    if (this->dateTime() != before)
        changed();
}

QDateTime DateTimePicker::dateTime() const
{
    return TimeUtil::inZone(m_dateEdit->date(), m_dateOnly ? QTime(0, 0) : m_time, QTimeZone());
}

QDate DateTimePicker::date() const
{
    return m_dateEdit->date();
}

void DateTimePicker::setDateOnly(bool dateOnly)
{
    if (m_dateOnly == dateOnly)
        return;
    m_dateOnly = dateOnly;
    m_timeCombo->setVisible(!dateOnly);
    changed();
}

void DateTimePicker::setReferencePicker(DateTimePicker *start)
{
    disconnect(m_referenceConnection);
    m_reference = start;
    if (!start) {
        m_referenceValue = QDateTime();
        ++m_updating;
        m_dateEdit->clearMinimumDate();
        --m_updating;
        return;
    }
    m_referenceValue = start->wallClock();
    m_referenceConnection = connect(start, &DateTimePicker::dateTimeChanged, this, &DateTimePicker::followReference);
    followReference();
}

void DateTimePicker::followReference()
{
    if (!m_reference)
        return;
    // Measured on the wall clock of both full values (the time kept while a
    // picker shows its date alone), so that the length survives a change of
    // time between them and a switch to or from date-only mode.
    const QDateTime start = m_reference->wallClock();
    const QDateTime before = dateTime();
    const qint64 length = m_referenceValue.isValid() ? m_referenceValue.secsTo(wallClock()) : 0;
    m_referenceValue = start;
    ++m_updating;
    // The value moves first, so that the new minimum never clamps it alone.
    m_dateEdit->clearMinimumDate();
    const QDateTime moved = start.addSecs(qMax<qint64>(0, length));
    m_dateEdit->setDate(moved.date());
    m_time = moved.time();
    showTime();
    m_dateEdit->setMinimumDate(start.date());
    --m_updating;
    if (dateTime() != before)
        changed();
}

QDateTime DateTimePicker::wallClock() const
{
    return TimeUtil::utc(m_dateEdit->date(), m_time);
}

void DateTimePicker::showTime()
{
    ++m_updating;
    const int index = m_timeCombo->findData(m_time);
    if (index >= 0) {
        m_timeCombo->setCurrentIndex(index);
    } else {
        m_timeCombo->setCurrentIndex(-1);
        m_timeCombo->setEditText(timeText(m_time));
    }
    --m_updating;
}

void DateTimePicker::setTime(const QTime &time)
{
    if (!time.isValid())
        return;
    const bool same = time == m_time;
    m_time = time;
    showTime();
    if (!same && !m_dateOnly)
        changed();
}

void DateTimePicker::takeTypedTime()
{
    const QTime typed = parseTime(m_timeCombo->currentText());
    if (typed.isValid() && timeText(typed) != timeText(m_time))
        setTime(typed);
    else
        showTime(); // unreadable or unchanged: show the time as it stands
}

void DateTimePicker::changed()
{
    if (m_updating == 0)
        Q_EMIT dateTimeChanged(dateTime());
}
