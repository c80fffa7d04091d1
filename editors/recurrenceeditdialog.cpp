#include "recurrenceeditdialog.h"

#include "exceptionkey.h"
#include "rruleformat.h"
#include "ruleuntil.h"
#include "theme.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

const char *const kCodes[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

enum MonthMode { DayOfMonth = 0, NthWeekday = 1 };
enum EndMode { Never = 0, After = 1, On = 2 };

QHBoxLayout *indentedLine(QVBoxLayout *parent)
{
    auto *line = new QHBoxLayout;
    line->setContentsMargins(20, 0, 0, 0);
    line->setSpacing(8);
    parent->addLayout(line);
    return line;
}

QRadioButton *addChoice(QButtonGroup *group, int id, const QString &text, const QString &name, QWidget *parent)
{
    auto *radio = new QRadioButton(text, parent);
    radio->setObjectName(name);
    radio->setChecked(id == 0);
    group->addButton(radio, id);
    return radio;
}

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

RecurrenceEditDialog::RecurrenceEditDialog(const QString &rule, const QDate &anchor, int firstDayOfWeek,
                                           QWidget *parent)
    : QDialog(parent)
    , m_anchor(anchor)
    , m_rule(rule)
{
    setWindowTitle(tr("Recurrence"));
    setMinimumWidth(440);
    buildUi(firstDayOfWeek);
    loadRrule();
    settleGivenRule();
    updateSummary();
}

QString RecurrenceEditDialog::weekdayCode(int isoWeekday)
{
    if (isoWeekday < 1 || isoWeekday > 7)
        return QString();
    return QLatin1String(kCodes[isoWeekday - 1]);
}

int RecurrenceEditDialog::weekdayFromCode(const QString &text)
{
    for (int day = 1; day <= 7; ++day) {
        if (text.endsWith(QLatin1String(kCodes[day - 1])))
            return day;
    }
    return 0;
}

RecurrenceRule RecurrenceEditDialog::splitRrule(const QString &rule)
{
    return RecurrenceRule::fromText(rule);
}

void RecurrenceEditDialog::buildUi(int firstDayOfWeek)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignLeft);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(12);
    layout->addLayout(form);

    m_frequency = new QComboBox(this);
    m_frequency->setObjectName(u"frequency"_s);
    m_frequency->addItem(tr("Daily"), u"DAILY"_s);
    m_frequency->addItem(tr("Weekly"), u"WEEKLY"_s);
    m_frequency->addItem(tr("Monthly"), u"MONTHLY"_s);
    m_frequency->addItem(tr("Yearly"), u"YEARLY"_s);
    m_frequency->addItem(tr("Does not repeat"), QString());
    form->addRow(tr("Frequency"), m_frequency);

    m_intervalRow = new QWidget(this);
    auto *intervalLine = new QHBoxLayout(m_intervalRow);
    intervalLine->setContentsMargins(0, 0, 0, 0);
    intervalLine->setSpacing(8);
    intervalLine->addWidget(new QLabel(tr("Every"), m_intervalRow));
    m_interval = new QSpinBox(m_intervalRow);
    m_interval->setObjectName(u"interval"_s);
    m_interval->setRange(1, 999);
    m_interval->setValue(1);
    intervalLine->addWidget(m_interval);
    m_unit = new QLabel(m_intervalRow);
    intervalLine->addWidget(m_unit);
    intervalLine->addStretch();
    form->addRow(QString(), m_intervalRow);

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(new QWidget(m_pages)); // daily

    auto *weekly = new QWidget(m_pages);
    auto *weekLine = new QHBoxLayout(weekly);
    weekLine->setContentsMargins(0, 0, 0, 0);
    weekLine->setSpacing(6);
    const QString toggleStyle = u"QToolButton { border: 1px solid %1; border-radius: 17px; padding: 0px; }"
                                u"QToolButton:checked { background: %2; color: white; border-color: %2; }"_s.arg(
                                    Theme::border().name(), Theme::accent().name());
    // The day's name as disambiguation: "T" and "S" stand for two days each in
    // English, not in every language.
    const QString letters[] = {tr("M", "Monday"), tr("T", "Tuesday"),  tr("W", "Wednesday"), tr("T", "Thursday"),
                               tr("F", "Friday"), tr("S", "Saturday"), tr("S", "Sunday")};
    for (int day = 1; day <= 7; ++day) {
        auto *toggle = new QToolButton(weekly);
        toggle->setObjectName(u"weekday%1"_s.arg(day));
        toggle->setText(letters[day - 1]);
        toggle->setCheckable(true);
        toggle->setFixedSize(34, 34);
        toggle->setStyleSheet(toggleStyle);
        weekLine->addWidget(toggle);
        m_weekdays.append(toggle);
        connect(toggle, &QToolButton::toggled, this, &RecurrenceEditDialog::updateSummary);
    }
    weekLine->addStretch();
    m_pages->addWidget(weekly);

    auto *monthly = new QWidget(m_pages);
    auto *monthBox = new QVBoxLayout(monthly);
    monthBox->setContentsMargins(0, 0, 0, 0);
    monthBox->setSpacing(8);
    m_monthMode = new QButtonGroup(this);
    monthBox->addWidget(addChoice(m_monthMode, DayOfMonth, tr("On day of the month"), u"monthByDay"_s, monthly));
    QHBoxLayout *dayLine = indentedLine(monthBox);
    m_monthDay = new QSpinBox(monthly);
    m_monthDay->setObjectName(u"monthDay"_s);
    m_monthDay->setRange(1, 31);
    m_monthDay->setValue(m_anchor.isValid() ? m_anchor.day() : 1);
    dayLine->addWidget(m_monthDay);
    dayLine->addWidget(new QLabel(tr("of every month"), monthly));
    dayLine->addStretch();
    monthBox->addWidget(addChoice(m_monthMode, NthWeekday, tr("On the nth weekday"), u"monthByWeekday"_s, monthly));
    QHBoxLayout *weekdayLine = indentedLine(monthBox);
    m_ordinal = new QComboBox(monthly);
    m_ordinal->setObjectName(u"ordinal"_s);
    m_ordinal->addItem(tr("first"), 1);
    m_ordinal->addItem(tr("second"), 2);
    m_ordinal->addItem(tr("third"), 3);
    m_ordinal->addItem(tr("fourth"), 4);
    m_ordinal->addItem(tr("last"), -1);
    weekdayLine->addWidget(m_ordinal);
    m_monthWeekday = new QComboBox(monthly);
    m_monthWeekday->setObjectName(u"monthWeekday"_s);
    const QString dayNames[] = {tr("Monday"), tr("Tuesday"),  tr("Wednesday"), tr("Thursday"),
                                tr("Friday"), tr("Saturday"), tr("Sunday")};
    for (int day = 1; day <= 7; ++day)
        m_monthWeekday->addItem(dayNames[day - 1], day);
    if (m_anchor.isValid())
        m_monthWeekday->setCurrentIndex(m_anchor.dayOfWeek() - 1);
    weekdayLine->addWidget(m_monthWeekday);
    weekdayLine->addStretch();
    monthBox->addStretch();
    m_pages->addWidget(monthly);

    m_pages->addWidget(new QWidget(m_pages)); // yearly
    m_pages->addWidget(new QWidget(m_pages)); // no repetition
    m_pages->addWidget(new QWidget(m_pages)); // the given rule as it is
    form->addRow(QString(), m_pages);

    m_endsBox = new QWidget(this);
    auto *endsLayout = new QVBoxLayout(m_endsBox);
    endsLayout->setContentsMargins(0, 0, 0, 0);
    endsLayout->setSpacing(8);
    m_endMode = new QButtonGroup(this);
    endsLayout->addWidget(addChoice(m_endMode, Never, tr("Never"), u"endNever"_s, m_endsBox));
    auto *afterLine = new QHBoxLayout;
    afterLine->setSpacing(8);
    afterLine->addWidget(addChoice(m_endMode, After, tr("After"), u"endAfter"_s, m_endsBox));
    m_count = new QSpinBox(m_endsBox);
    m_count->setObjectName(u"count"_s);
    m_count->setRange(1, 999);
    m_count->setValue(10);
    afterLine->addWidget(m_count);
    afterLine->addWidget(new QLabel(tr("occurrences"), m_endsBox));
    afterLine->addStretch();
    endsLayout->addLayout(afterLine);
    auto *onLine = new QHBoxLayout;
    onLine->setSpacing(8);
    onLine->addWidget(addChoice(m_endMode, On, tr("On"), u"endOn"_s, m_endsBox));
    m_until = new QDateEdit(m_endsBox);
    m_until->setObjectName(u"untilDate"_s);
    m_until->setCalendarPopup(true);
    m_until->setDisplayFormat(u"MMM d, yyyy"_s);
    m_until->setDate(m_anchor.addYears(1));
    Theme::applyFirstDayOfWeek(m_until, Qt::DayOfWeek(firstDayOfWeek));
    onLine->addWidget(m_until);
    onLine->addStretch();
    endsLayout->addLayout(onLine);
    form->addRow(tr("Ends"), m_endsBox);

    m_summary = new QLabel(this);
    m_summary->setObjectName(u"summary"_s);
    m_summary->setWordWrap(true);
    m_summary->setProperty("muted", true);
    m_summary->setStyleSheet(u"color: %1;"_s.arg(Theme::textMuted().name()));
    layout->addWidget(m_summary);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    for (QAbstractButton *button : buttons->buttons())
        button->setIcon(QIcon());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    updateIntervalUnit();
    m_frequency->setCurrentIndex(Weekly);
    frequencyChanged(Weekly);

    connect(m_frequency, &QComboBox::currentIndexChanged, this, &RecurrenceEditDialog::frequencyChanged);
    connect(m_interval, &QSpinBox::valueChanged, this, [this] {
        updateIntervalUnit();
        updateSummary();
    });
    connect(m_monthMode, &QButtonGroup::idToggled, this, &RecurrenceEditDialog::updateSummary);
    connect(m_monthDay, &QSpinBox::valueChanged, this, &RecurrenceEditDialog::updateSummary);
    connect(m_ordinal, &QComboBox::currentIndexChanged, this, &RecurrenceEditDialog::updateSummary);
    connect(m_monthWeekday, &QComboBox::currentIndexChanged, this, &RecurrenceEditDialog::updateSummary);
    connect(m_endMode, &QButtonGroup::idToggled, this, &RecurrenceEditDialog::updateSummary);
    connect(m_count, &QSpinBox::valueChanged, this, &RecurrenceEditDialog::updateSummary);
    connect(m_until, &QDateEdit::dateChanged, this, &RecurrenceEditDialog::updateSummary);
}

void RecurrenceEditDialog::frequencyChanged(int index)
{
    m_pages->setCurrentIndex(index);
    // The stack is as high as the page shown, not as its highest page.
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->widget(i)->setSizePolicy(QSizePolicy::Preferred,
                                          i == index ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    m_pages->adjustSize();
    if (isVisible() && layout()) {
        layout()->activate();
        resize(width(), sizeHint().height());
    }
    // Without repetition there is neither an interval nor an end; a rule
    // kept as it is keeps its own.
    m_intervalRow->setEnabled(index != NoRepeat && index != Given);
    m_endsBox->setEnabled(index != NoRepeat && index != Given);
    updateIntervalUnit();
    updateSummary();
}

void RecurrenceEditDialog::setSeriesZone(const QTimeZone &zone)
{
    m_seriesZone = zone;
    loadEnd(splitRrule(m_rule));
    settleGivenRule();
    if (m_frequency->count() > Given)
        m_frequency->setItemText(Given, RruleFormat::describe(m_rule, m_seriesZone));
    updateSummary();
}

void RecurrenceEditDialog::loadRrule()
{
    if (m_anchor.isValid())
        m_weekdays.at(m_anchor.dayOfWeek() - 1)->setChecked(true);
    if (m_rule.isEmpty())
        return;
    const RecurrenceRule parts = splitRrule(m_rule);
    m_givenWeekStart = parts.weekStart;

    const QString &freq = parts.freq;
    const int frequency = m_frequency->findData(freq);
    if (!freq.isEmpty() && frequency >= 0 && frequency != NoRepeat)
        m_frequency->setCurrentIndex(frequency);
    m_loadedFrequency = m_frequency->currentIndex();

    if (const auto interval = wholeNumber(parts.value(u"INTERVAL"_s)); interval && *interval >= 1)
        m_interval->setValue(*interval);

    const QString byDay = parts.value(u"BYDAY"_s);
    if (freq == u"WEEKLY"_s && !byDay.isEmpty()) {
        for (QToolButton *toggle : std::as_const(m_weekdays))
            toggle->setChecked(false);
        for (const QString &item : parts.byDay) {
            if (const int day = weekdayFromCode(item))
                m_weekdays.at(day - 1)->setChecked(true);
        }
    }

    if (freq == u"MONTHLY"_s) {
        const QString byMonthDay = parts.value(u"BYMONTHDAY"_s);
        if (!byMonthDay.isEmpty()) {
            if (const auto day = wholeNumber(byMonthDay); day && *day >= 1 && *day <= 31)
                m_monthDay->setValue(*day);
            m_monthMode->button(DayOfMonth)->setChecked(true);
        } else if (!parts.byDay.isEmpty()) {
            const QString &first = parts.byDay.first();
            const int weekday = weekdayFromCode(first.right(2));
            if (weekday >= 1)
                m_monthWeekday->setCurrentIndex(weekday - 1);
            if (const auto ordinal = wholeNumber(first.left(first.size() - 2))) {
                const int index = m_ordinal->findData(*ordinal);
                if (index >= 0)
                    m_ordinal->setCurrentIndex(index);
            }
            m_monthMode->button(NthWeekday)->setChecked(true);
        }
    }

    loadEnd(parts);
}

void RecurrenceEditDialog::loadEnd(const RecurrenceRule &parts)
{
    if (parts.contains(u"COUNT"_s)) {
        if (const auto count = wholeNumber(parts.value(u"COUNT"_s)); count && *count >= 1) {
            m_count->setValue(*count);
            m_endMode->button(After)->setChecked(true);
        }
        return;
    }
    if (parts.contains(u"UNTIL"_s)) {
        // Without a zone the series repeats on dates: its end is the day the
        // writers and the expansion read a UTC end as.
        const QString end = m_seriesZone.isValid() ? parts.value(u"UNTIL"_s)
                                                   : splitRrule(ExceptionKey::datedRule(m_rule)).value(u"UNTIL"_s);
        const QDate until = RuleUntil::day(end, m_seriesZone);
        if (until.isValid()) {
            m_givenEnd = parts;
            m_givenUntilDay = until;
            m_until->setDate(until);
            m_endMode->button(On)->setChecked(true);
        }
    }
}

void RecurrenceEditDialog::settleGivenRule()
{
    m_loadedRule = widgetRule(m_loadedFrequency);
    m_keepsGiven = !m_rule.isEmpty() && showsGivenRule(m_loadedRule);
    if (m_rule.isEmpty() || m_keepsGiven || m_frequency->count() > Given)
        return;
    m_frequency->addItem(RruleFormat::describe(m_rule, m_seriesZone), m_rule);
    m_frequency->setCurrentIndex(Given);
}

bool RecurrenceEditDialog::showsGivenRule(const QString &loaded) const
{
    const RecurrenceRule given = splitRrule(m_rule);
    if (!given.unreadParts().isEmpty())
        return false;
    // WKST is carried along; any other part the widgets do not have is lost
    // on the way through them.
    static const QStringList shown = {u"FREQ"_s,  u"INTERVAL"_s, u"BYDAY"_s, u"BYMONTHDAY"_s,
                                      u"COUNT"_s, u"UNTIL"_s,    u"WKST"_s};
    for (QStringView part : QStringView(m_rule).split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(u'=');
        if (eq <= 0 || !shown.contains(part.left(eq).trimmed().toString().toUpper()))
            return false;
    }
    // What the rule means with what it leaves to the start filled in: the
    // anchor's weekday, or its day of the month.
    const auto meaning = [this](RecurrenceRule rule) {
        if (rule.freq == u"WEEKLY"_s && rule.byDay.isEmpty())
            rule.byDay = {weekdayCode(m_anchor.dayOfWeek())};
        if (rule.freq == u"MONTHLY"_s && rule.byDay.isEmpty() && rule.byMonthDay.isEmpty())
            rule.byMonthDay = {m_anchor.day()};
        if (rule.freq == u"WEEKLY"_s) {
            std::sort(rule.byDay.begin(), rule.byDay.end(),
                      [](const QString &a, const QString &b) { return weekdayFromCode(a) < weekdayFromCode(b); });
        }
        return std::make_tuple(rule.freq, rule.interval, rule.byDay, rule.byMonthDay, rule.count, rule.until,
                               rule.until.isValid() ? int(rule.untilForm) : -1);
    };
    return meaning(given) == meaning(splitRrule(loaded));
}

void RecurrenceEditDialog::updateIntervalUnit()
{
    const bool one = m_interval->value() == 1;
    switch (m_frequency->currentIndex()) {
    case Daily: m_unit->setText(one ? tr("day") : tr("days")); break;
    case Weekly: m_unit->setText(one ? tr("week") : tr("weeks")); break;
    case Monthly: m_unit->setText(one ? tr("month") : tr("months")); break;
    case Yearly: m_unit->setText(one ? tr("year") : tr("years")); break;
    default: m_unit->clear(); break;
    }
}

void RecurrenceEditDialog::updateSummary()
{
    const QString rule = rrule();
    m_summary->setText(rule.isEmpty() ? tr("Does not repeat") : RruleFormat::describe(rule, m_seriesZone));
}

QString RecurrenceEditDialog::rrule() const
{
    const int frequency = m_frequency->currentIndex();
    if (frequency == NoRepeat)
        return QString();
    if (frequency == Given)
        return m_rule;
    const QString rule = widgetRule(frequency);
    return m_keepsGiven && rule == m_loadedRule ? m_rule : rule;
}

QString RecurrenceEditDialog::widgetRule(int frequency) const
{
    RecurrenceRule rule;
    rule.freq = m_frequency->itemData(frequency).toString();
    rule.interval = m_interval->value();
    rule.weekStart = m_givenWeekStart;
    if (frequency == Weekly) {
        for (int day = 1; day <= 7; ++day) {
            if (m_weekdays.at(day - 1)->isChecked())
                rule.byDay.append(weekdayCode(day));
        }
    } else if (frequency == Monthly) {
        if (m_monthMode->checkedId() == NthWeekday)
            rule.byDay = {QString::number(m_ordinal->currentData().toInt())
                          + weekdayCode(m_monthWeekday->currentData().toInt())};
        else
            rule.byMonthDay = {m_monthDay->value()};
    }
    switch (m_endMode->checkedId()) {
    case After: rule.count = m_count->value(); break;
    case On:
        // Written anew, the end would be the last second of its day and could
        // let one more occurrence in than the given end did.
        if (m_givenUntilDay.isValid() && m_until->date() == m_givenUntilDay && m_givenEnd.until.isValid()) {
            rule.until = m_givenEnd.until;
            rule.untilForm = m_givenEnd.untilForm;
        } else {
            RuleUntil::setDay(rule, m_until->date(), m_seriesZone);
        }
        break;
    default: break;
    }
    return rule.toText();
}
