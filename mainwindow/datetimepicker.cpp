#include "datetimepicker.h"

#include "theme.h"
#include "timetext.h"
#include "timeutil.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>

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
    m_referenceConnection = connect(start, &DateTimePicker::dateTimeChanged, this, &DateTimePicker::followReference);
    followReference(start->dateTime());
}

void DateTimePicker::followReference(const QDateTime &start)
{
    const QDateTime before = dateTime();
    const qint64 distance = m_referenceValue.isValid() ? m_referenceValue.secsTo(before) : 0;
    m_referenceValue = start;
    ++m_updating;
    // The value moves first, so that the new minimum never clamps it alone.
    m_dateEdit->clearMinimumDate();
    if (before < start) {
        const QDateTime moved = start.addSecs(qMax<qint64>(0, distance)).toLocalTime();
        m_dateEdit->setDate(moved.date());
        m_time = moved.time();
        showTime();
    }
    m_dateEdit->setMinimumDate(start.date());
    --m_updating;
    if (dateTime() != before)
        changed();
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
