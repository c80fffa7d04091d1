#include "filterformdialog.h"

#include "calendarchecklist.h"
#include "dialogparts.h"
#include "recordnames.h"

#include "appstate.h"
#include "event.h"
#include "eventrepository.h"
#include "filterengine.h"
#include "filterrulerepository.h"
#include "recurrence.h"
#include "storedrowedit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QUuid>
#include <QVBoxLayout>

namespace {

const QString kTimeFormat = QStringLiteral("HH:mm");

struct TypeInfo
{
    QString key;
    QString label;
    QString description;
};

QList<TypeInfo> types()
{
    return {{FilterType::Pattern, FilterFormDialog::tr("Pattern Match"),
             FilterFormDialog::tr("Filter events matching text patterns")},
            {FilterType::Time, FilterFormDialog::tr("Time-Based"),
             FilterFormDialog::tr("Filter events at specific times")},
            {FilterType::Specific, FilterFormDialog::tr("Specific Event"),
             FilterFormDialog::tr("Filter a specific recurring event")},
            {FilterType::AllDay, FilterFormDialog::tr("All-Day Events"),
             FilterFormDialog::tr("Filter all-day events")}};
}

QList<QPair<QString, QString>> days()
{
    return {{QStringLiteral("mon"), FilterFormDialog::tr("Mon")}, {QStringLiteral("tue"), FilterFormDialog::tr("Tue")},
            {QStringLiteral("wed"), FilterFormDialog::tr("Wed")}, {QStringLiteral("thu"), FilterFormDialog::tr("Thu")},
            {QStringLiteral("fri"), FilterFormDialog::tr("Fri")}, {QStringLiteral("sat"), FilterFormDialog::tr("Sat")},
            {QStringLiteral("sun"), FilterFormDialog::tr("Sun")}};
}

// The page shown decides the stack's size, so the dialog takes the height of
// the page the user sees.
class CurrentPageStack : public QStackedWidget
{
public:
    using QStackedWidget::QStackedWidget;
    QSize sizeHint() const override
    {
        return currentWidget() ? currentWidget()->sizeHint() : QStackedWidget::sizeHint();
    }
    QSize minimumSizeHint() const override
    {
        return currentWidget() ? currentWidget()->minimumSizeHint() : QStackedWidget::minimumSizeHint();
    }
};

QTimeEdit *timeEditor(const QString &objectName, QWidget *parent)
{
    auto *edit = new QTimeEdit(QTime(0, 0), parent);
    edit->setObjectName(objectName);
    edit->setDisplayFormat(QStringLiteral("h:mm AP"));
    edit->setEnabled(false);
    // The style sheet draws no step arrows for time editors; the keyboard
    // and the wheel step them.
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return edit;
}

QString compact(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject parsedObject(const QString &json)
{
    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
    return doc.isObject() ? doc.object() : QJsonObject();
}

// The condition keys each type's page shows. Any other key (the pattern
// keys this form has no field for, keys of newer versions) belongs to the
// rule and is kept when it is saved.
QStringList shownKeys(const QString &type)
{
    const QString runtimeType = QStringLiteral("runtimeType");
    if (type == FilterType::Pattern)
        return {runtimeType, QStringLiteral("titleContains"), QStringLiteral("caseSensitive")};
    if (type == FilterType::Time)
        return {runtimeType, QStringLiteral("timeExact"), QStringLiteral("timeRange"), QStringLiteral("daysOfWeek"),
                QStringLiteral("recurringOnly")};
    if (type == FilterType::AllDay)
        return {runtimeType, QStringLiteral("recurringOnly")};
    return {runtimeType};
}

// A pattern rule matches by any of its phrase lists, not only the one shown.
bool hasPhrase(const QString &conditions)
{
    const QJsonObject object = parsedObject(conditions);
    for (const char *key : {"titleContains", "titleExact", "descriptionContains", "locationContains"}) {
        const QJsonArray phrases = object.value(QLatin1String(key)).toArray();
        for (const QJsonValue &phrase : phrases) {
            if (!phrase.toString().trimmed().isEmpty())
                return true;
        }
    }
    return false;
}

} // namespace

FilterFormDialog::FilterFormDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setWindowTitle(tr("Add Filter"));
    setModal(true);
    buildUi();
    setType(FilterType::Pattern);
}

FilterFormDialog::FilterFormDialog(AppState *state, const FilterRule &rule, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_editing(true)
    , m_rule(rule)
{
    setWindowTitle(tr("Edit Filter"));
    setModal(true);
    buildUi();
    load();
}

FilterFormDialog::~FilterFormDialog() = default;

void FilterFormDialog::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);
    layout->addWidget(DialogParts::heading(m_editing ? tr("Edit filter") : tr("New filter"), this));
    layout->addWidget(DialogParts::mutedLabel(
        tr("Filters hide or dim events that match — they don't delete anything, and you can toggle the whole "
           "set off from the filters pill in the status bar."),
        this));

    auto *inner = new QVBoxLayout;
    inner->setContentsMargins(0, 8, 0, 8);
    inner->setSpacing(12);
    layout->addLayout(inner);

    auto *nameForm = DialogParts::formLayout();
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setPlaceholderText(tr("Hide standups, Dim birthdays…"));
    nameForm->addRow(tr("&Name"), m_name);
    inner->addLayout(nameForm);
    inner->addWidget(buildTypeSelector());

    m_pages = new CurrentPageStack(this);
    m_pages->setObjectName(QStringLiteral("typePages"));
    buildTypePages();
    inner->addWidget(m_pages);

    auto *actionForm = DialogParts::formLayout();
    m_action = new QComboBox(this);
    m_action->setObjectName(QStringLiteral("actionCombo"));
    m_action->addItem(tr("Hide completely"), FilterAction::Hide);
    m_action->addItem(tr("Dim (still visible, faded)"), FilterAction::Dim);
    actionForm->addRow(tr("&Action"), m_action);
    m_suppress = new QCheckBox(tr("Suppress reminders for matched events"), this);
    m_suppress->setObjectName(QStringLiteral("suppressCheck"));
    actionForm->addRow(QString(), m_suppress);
    m_enabled = new QCheckBox(tr("Enabled"), this);
    m_enabled->setObjectName(QStringLiteral("enabledCheck"));
    m_enabled->setChecked(true);
    actionForm->addRow(QString(), m_enabled);
    inner->addLayout(actionForm);

    m_calendarSection = new QWidget(this);
    auto *calendarLayout = new QVBoxLayout(m_calendarSection);
    calendarLayout->setContentsMargins(0, 0, 0, 0);
    auto *calendarsLabel = new QLabel(tr("Apply to calendars"), m_calendarSection);
    QFont bold = calendarsLabel->font();
    bold.setBold(true);
    calendarsLabel->setFont(bold);
    calendarLayout->addWidget(calendarsLabel);
    m_everyCalendarHint = DialogParts::mutedLabel(tr("Leave empty to apply to every calendar."), m_calendarSection);
    m_everyCalendarHint->setObjectName(QStringLiteral("everyCalendarHint"));
    calendarLayout->addWidget(m_everyCalendarHint);
    m_calendars = new CalendarChecklist(m_state, CalendarChecklist::Calendars::VisibleOnly, m_calendarSection);
    m_calendars->setMinimumHeight(72);
    m_calendars->setMaximumHeight(160);
    calendarLayout->addWidget(m_calendars);
    m_goneNotice = CalendarChecklist::goneNotice(
        tr("Every calendar this filter applied to has been deleted, so it matches nothing. "
           "Check the calendars it should apply to; saved without any, it applies to every "
           "calendar."),
        m_calendarSection);
    calendarLayout->addWidget(m_goneNotice);
    inner->addWidget(m_calendarSection);

    m_preview = DialogParts::mutedLabel(QString(), this);
    m_preview->setObjectName(QStringLiteral("previewLabel"));
    layout->addWidget(m_preview);
    layout->addWidget(DialogParts::divider(this));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(m_editing ? tr("Save changes") : tr("Create filter"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterFormDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // What changes the rule's matches recomputes the preview; the name,
    // "Enabled" and the suppress box do not.
    connect(m_phrases, &QLineEdit::textChanged, this, &FilterFormDialog::updatePreview);
    for (QCheckBox *box : {m_caseSensitive, m_exactCheck, m_rangeCheck, m_timeRecurringOnly, m_allDayRecurringOnly})
        connect(box, &QCheckBox::toggled, this, &FilterFormDialog::updatePreview);
    for (QTimeEdit *edit : {m_exactTime, m_rangeStart, m_rangeEnd})
        connect(edit, &QTimeEdit::timeChanged, this, &FilterFormDialog::updatePreview);
    for (QToolButton *button : std::as_const(m_dayButtons))
        connect(button, &QToolButton::toggled, this, &FilterFormDialog::updatePreview);
    connect(m_action, &QComboBox::currentIndexChanged, this, [this] {
        updateSuppressVisibility();
        updatePreview();
    });
    connect(m_calendars, &QListWidget::itemChanged, this, &FilterFormDialog::updatePreview);
    updateSuppressVisibility();

    resize(620, sizeHint().height());
    m_name->setFocus();
    m_built = true;
    updatePreview();
}

QToolButton *FilterFormDialog::addChoiceButton(const QString &text, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setText(text);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setMinimumHeight(28);
    button->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    return button;
}

QWidget *FilterFormDialog::buildTypeSelector()
{
    auto *block = new QWidget(this);
    auto *layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto *label = new QLabel(tr("Type"), block);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    layout->addWidget(label);
    auto *row = new QHBoxLayout;
    m_typeGroup = new QButtonGroup(block);
    m_typeGroup->setExclusive(true);
    for (const TypeInfo &type : types()) {
        QToolButton *button = addChoiceButton(type.label, block);
        button->setObjectName(QStringLiteral("type_") + type.key);
        m_typeGroup->addButton(button);
        m_typeButtons.insert(type.key, button);
        row->addWidget(button, 1);
        const QString key = type.key;
        connect(button, &QToolButton::toggled, this, [this, key](bool checked) {
            if (checked && m_type != key)
                setType(key);
        });
    }
    layout->addLayout(row);
    m_typeDescription = DialogParts::mutedLabel(QString(), block);
    m_typeDescription->setObjectName(QStringLiteral("typeDescription"));
    layout->addWidget(m_typeDescription);
    return block;
}

void FilterFormDialog::buildTypePages()
{
    m_pageIndex.insert(FilterType::Pattern, m_pages->addWidget(buildPatternPage()));
    m_pageIndex.insert(FilterType::Time, m_pages->addWidget(buildTimePage()));
    m_pageIndex.insert(FilterType::Specific, m_pages->addWidget(buildSpecificPage()));
    m_pageIndex.insert(FilterType::AllDay, m_pages->addWidget(buildAllDayPage()));
}

QWidget *FilterFormDialog::buildPatternPage()
{
    auto *page = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(new QLabel(tr("Title contains"), page));
    m_phrases = new QLineEdit(page);
    m_phrases->setObjectName(QStringLiteral("phraseEdit"));
    m_phrases->setPlaceholderText(tr("e.g. standup, lunch, 1:1 — comma separated"));
    layout->addWidget(m_phrases);
    m_caseSensitive = new QCheckBox(tr("Case sensitive"), page);
    m_caseSensitive->setObjectName(QStringLiteral("caseSensitiveCheck"));
    layout->addWidget(m_caseSensitive);
    return page;
}

QWidget *FilterFormDialog::buildTimePage()
{
    auto *page = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto *exactRow = new QHBoxLayout;
    m_exactCheck = new QCheckBox(tr("Exact start time"), page);
    m_exactCheck->setObjectName(QStringLiteral("exactTimeCheck"));
    m_exactTime = timeEditor(QStringLiteral("exactTimeEdit"), page);
    connect(m_exactCheck, &QCheckBox::toggled, m_exactTime, &QWidget::setEnabled);
    exactRow->addWidget(m_exactCheck);
    exactRow->addWidget(m_exactTime);
    exactRow->addStretch(1);
    layout->addLayout(exactRow);

    auto *rangeRow = new QHBoxLayout;
    m_rangeCheck = new QCheckBox(tr("Time range"), page);
    m_rangeCheck->setObjectName(QStringLiteral("timeRangeCheck"));
    m_rangeStart = timeEditor(QStringLiteral("rangeStartEdit"), page);
    m_rangeEnd = timeEditor(QStringLiteral("rangeEndEdit"), page);
    connect(m_rangeCheck, &QCheckBox::toggled, m_rangeStart, &QWidget::setEnabled);
    connect(m_rangeCheck, &QCheckBox::toggled, m_rangeEnd, &QWidget::setEnabled);
    rangeRow->addWidget(m_rangeCheck);
    rangeRow->addWidget(m_rangeStart);
    rangeRow->addWidget(new QLabel(tr("to"), page));
    rangeRow->addWidget(m_rangeEnd);
    rangeRow->addStretch(1);
    layout->addLayout(rangeRow);

    layout->addWidget(new QLabel(tr("Days of week (empty = every day)"), page));
    auto *dayRow = new QHBoxLayout;
    dayRow->setSpacing(4);
    for (const auto &[key, label] : days()) {
        QToolButton *button = addChoiceButton(label, page);
        button->setObjectName(QStringLiteral("day_") + key);
        m_dayButtons.insert(key, button);
        dayRow->addWidget(button, 1);
    }
    layout->addLayout(dayRow);
    m_timeRecurringOnly = new QCheckBox(tr("Recurring events only"), page);
    m_timeRecurringOnly->setObjectName(QStringLiteral("timeRecurringOnlyCheck"));
    layout->addWidget(m_timeRecurringOnly);
    return page;
}

QWidget *FilterFormDialog::buildSpecificPage()
{
    auto *page = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(new QLabel(tr("Filtering this specific event:"), page));
    m_eventLabel = DialogParts::mutedLabel(
        tr("(Right-click an event and choose \"Create Filter from Event\" to create a specific-event filter.)"), page);
    m_eventLabel->setObjectName(QStringLiteral("specificEventLabel"));
    layout->addWidget(m_eventLabel);
    return page;
}

QWidget *FilterFormDialog::buildAllDayPage()
{
    auto *page = new QWidget(m_pages);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(new QLabel(tr("Matches every all-day event in the selected calendars."), page));
    m_allDayRecurringOnly = new QCheckBox(tr("Only recurring all-day events"), page);
    m_allDayRecurringOnly->setObjectName(QStringLiteral("allDayRecurringOnlyCheck"));
    layout->addWidget(m_allDayRecurringOnly);
    return page;
}

void FilterFormDialog::setType(const QString &key)
{
    m_type = key;
    if (QToolButton *button = m_typeButtons.value(key); button && !button->isChecked())
        button->setChecked(true);
    for (const TypeInfo &type : types()) {
        if (type.key == key)
            m_typeDescription->setText(type.description);
    }
    m_pages->setCurrentIndex(m_pageIndex.value(key, 0));
    m_calendarSection->setVisible(key != FilterType::Specific);
    remeasure();
    updatePreview();
}

void FilterFormDialog::remeasure()
{
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->widget(i)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    if (QWidget *current = m_pages->currentWidget())
        current->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_pages->updateGeometry();
    setMinimumHeight(0);
    adjustSize();
    DialogParts::fitHeight(this);
    // A page shown for the first time takes the style sheet's padding only
    // once it is polished: measure again then.
    QTimer::singleShot(0, this, [this] {
        m_pages->updateGeometry();
        setMinimumHeight(0);
        adjustSize();
        DialogParts::fitHeight(this);
    });
}

void FilterFormDialog::updateSuppressVisibility()
{
    m_suppress->setVisible(m_action->currentData().toString() == FilterAction::Dim);
}

bool FilterFormDialog::knownType() const
{
    return m_pageIndex.contains(m_type);
}

// A rule of a type this version does not know (made by a newer one on
// another device) is shown, never rewritten as one of the types it knows.
void FilterFormDialog::showUnknownType()
{
    m_type = m_rule.type;
    m_typeGroup->setExclusive(false);
    for (QToolButton *button : std::as_const(m_typeButtons)) {
        button->setChecked(false);
        button->setEnabled(false);
    }
    m_typeGroup->setExclusive(true);
    m_typeDescription->setText(tr("This filter is of a kind this version does not know (\"%1\"). It is shown "
                                  "read-only and kept as it is.")
                                   .arg(m_rule.type));
    m_pages->hide();
    for (QWidget *field :
         {static_cast<QWidget *>(m_name), static_cast<QWidget *>(m_action), static_cast<QWidget *>(m_suppress),
          static_cast<QWidget *>(m_enabled), static_cast<QWidget *>(m_calendars)})
        field->setEnabled(false);
    m_everyCalendarHint->hide();
    m_ok->setEnabled(false);
    m_preview->clear();
    remeasure();
}

void FilterFormDialog::load()
{
    m_name->setText(m_rule.name);
    m_type = m_rule.type;
    if (knownType())
        setType(m_rule.type);
    else
        showUnknownType();

    const QJsonObject c = parsedObject(m_rule.conditions);
    if (m_rule.type == FilterType::Pattern) {
        QStringList list;
        const QJsonArray titles = c.value(QLatin1String("titleContains")).toArray();
        for (const QJsonValue &value : titles) {
            if (value.isString())
                list.append(value.toString());
        }
        m_phrases->setText(list.join(QStringLiteral(", ")));
        m_caseSensitive->setChecked(c.value(QLatin1String("caseSensitive")).toBool(false));
    } else if (m_rule.type == FilterType::Time) {
        const QTime exact = QTime::fromString(c.value(QLatin1String("timeExact")).toString(), kTimeFormat);
        if (exact.isValid()) {
            m_exactCheck->setChecked(true);
            m_exactTime->setTime(exact);
        }
        const QJsonObject range = c.value(QLatin1String("timeRange")).toObject();
        const QTime start = QTime::fromString(range.value(QLatin1String("start")).toString(), kTimeFormat);
        const QTime end = QTime::fromString(range.value(QLatin1String("end")).toString(), kTimeFormat);
        if (!range.isEmpty() && start.isValid() && end.isValid()) {
            m_rangeCheck->setChecked(true);
            m_rangeStart->setTime(start);
            m_rangeEnd->setTime(end);
        }
        const QJsonArray dayKeys = c.value(QLatin1String("daysOfWeek")).toArray();
        for (const QJsonValue &value : dayKeys) {
            if (QToolButton *button = m_dayButtons.value(value.toString()))
                button->setChecked(true);
        }
        m_timeRecurringOnly->setChecked(c.value(QLatin1String("recurringOnly")).toBool(false));
    } else if (m_rule.type == FilterType::Specific) {
        m_eventUid = m_rule.event_uid;
        m_eventCalendarId = m_rule.event_calendar_id;
        std::optional<Event> event;
        if (!m_eventUid.isEmpty() && !m_eventCalendarId.isEmpty())
            event = m_state->events()->getByUid(m_eventUid, m_eventCalendarId);
        m_eventLabel->setText(event && !event->title.isEmpty() ? event->title : tr("(Event no longer exists)"));
    } else if (m_rule.type == FilterType::AllDay) {
        m_allDayRecurringOnly->setChecked(c.value(QLatin1String("recurringOnly")).toBool(false));
    }

    m_action->setCurrentIndex(m_rule.action == FilterAction::Dim ? 1 : 0);
    m_suppress->setChecked(m_rule.suppress_reminders);
    updateSuppressVisibility();
    m_enabled->setChecked(m_rule.enabled);
    m_calendars->setCheckedIds(m_rule.calendar_ids);
    // A read-only form says its calendars are gone without inviting a change.
    if (!knownType())
        m_goneNotice->setText(tr("Every calendar this filter applied to has been deleted, so it matches nothing."));
    m_goneNotice->setVisible(m_calendars->everyCalendarGone());
    m_shown = shown();
    updatePreview();
}

FilterFormDialog::Shown FilterFormDialog::shown() const
{
    return {m_name->text(),
            conditionsJson(),
            m_calendars->checkedIdsJson(),
            m_action->currentData().toString(),
            m_enabled->isChecked(),
            m_suppress->isChecked()};
}

void FilterFormDialog::setSpecificEvent(const Event &event)
{
    if (event.uid.isEmpty())
        return;
    m_eventUid = event.uid;
    m_eventCalendarId = event.calendar_id;
    setType(FilterType::Specific);
    m_eventLabel->setText(event.title.isEmpty() ? tr("(Untitled event)") : event.title);
    if (m_name->text().isEmpty() && !event.title.isEmpty())
        m_name->setText(event.title);
}

QStringList FilterFormDialog::phrases() const
{
    QStringList list;
    const QStringList parts = m_phrases->text().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            list.append(trimmed);
    }
    return list;
}

QString FilterFormDialog::conditionsJson() const
{
    QJsonObject c;
    if (m_type == FilterType::Pattern) {
        c.insert(QStringLiteral("runtimeType"), FilterType::Pattern);
        c.insert(QStringLiteral("titleContains"), QJsonArray::fromStringList(phrases()));
        c.insert(QStringLiteral("titleExact"), QJsonArray());
        c.insert(QStringLiteral("descriptionContains"), QJsonArray());
        c.insert(QStringLiteral("locationContains"), QJsonArray());
        c.insert(QStringLiteral("caseSensitive"), m_caseSensitive->isChecked());
    } else if (m_type == FilterType::Time) {
        c.insert(QStringLiteral("runtimeType"), FilterType::Time);
        if (m_exactCheck->isChecked())
            c.insert(QStringLiteral("timeExact"), m_exactTime->time().toString(kTimeFormat));
        if (m_rangeCheck->isChecked()) {
            c.insert(QStringLiteral("timeRange"),
                     QJsonObject{{QStringLiteral("start"), m_rangeStart->time().toString(kTimeFormat)},
                                 {QStringLiteral("end"), m_rangeEnd->time().toString(kTimeFormat)}});
        }
        QStringList checkedDays;
        for (const auto &day : days()) {
            if (m_dayButtons.value(day.first)->isChecked())
                checkedDays.append(day.first);
        }
        c.insert(QStringLiteral("daysOfWeek"), QJsonArray::fromStringList(checkedDays));
        c.insert(QStringLiteral("recurringOnly"), m_timeRecurringOnly->isChecked());
    } else if (m_type == FilterType::Specific) {
        c.insert(QStringLiteral("runtimeType"), FilterType::Specific);
    } else {
        c.insert(QStringLiteral("runtimeType"), QStringLiteral("allDay"));
        c.insert(QStringLiteral("recurringOnly"), m_allDayRecurringOnly->isChecked());
    }
    return compact(c);
}

QString FilterFormDialog::calendarIdsJson() const
{
    return m_type == FilterType::Specific ? QStringLiteral("[]") : m_calendars->checkedIdsJson();
}

FilterRule FilterFormDialog::buildConditions() const
{
    FilterRule rule;
    rule.id = QStringLiteral("__preview");
    rule.priority = 100;
    rule.enabled = true;
    rule.type = m_type;
    rule.action = m_action->currentData().toString();
    rule.conditions = conditionsJson();
    if (m_type == FilterType::Specific) {
        rule.event_uid = m_eventUid;
        rule.event_calendar_id = m_eventCalendarId;
    }
    rule.calendar_ids = calendarIdsJson();
    return rule;
}

void FilterFormDialog::save()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        QMessageBox::warning(this, tr("Name required"), tr("Please enter a name for the filter."));
        m_name->setFocus();
        return;
    }
    if (!knownType())
        return;
    const bool specific = m_type == FilterType::Specific;
    if (m_type == FilterType::Pattern && !hasPhrase(conditionsFor(m_rule))) {
        QMessageBox::warning(this, tr("No patterns"), tr("Add at least one phrase to \"Title contains\"."));
        m_phrases->setFocus();
        return;
    }
    if (specific && (m_eventUid.isEmpty() || m_eventCalendarId.isEmpty())) {
        QMessageBox::warning(this, tr("No event selected"),
                             tr("Specific-event filters need to be created from an event's right-click menu — "
                                "that's how the rule learns which event to match."));
        return;
    }

    bool ok = false;
    if (m_editing) {
        ok = StoredRowEdit::apply(m_state->database(), m_state->filterRules(), m_rule.id,
                                  [this](FilterRule &row) { applyChanges(row); });
    } else {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        FilterRule record;
        record.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        record.priority = 100;
        record.created_at = now;
        record.name = name;
        record.type = m_type;
        record.conditions = conditionsJson();
        record.calendar_ids = calendarIdsJson();
        record.action = m_action->currentData().toString();
        record.enabled = m_enabled->isChecked();
        record.suppress_reminders = record.action == FilterAction::Dim && m_suppress->isChecked();
        record.event_uid = specific ? m_eventUid : QString();
        record.event_calendar_id = specific ? m_eventCalendarId : QString();
        record.sync_status = SyncStatus::Pending;
        record.updated_at = now;
        ok = m_state->filterRules()->insert(record);
    }
    if (!ok) {
        QMessageBox::critical(this, tr("Database Error"), tr("Could not save the filter."));
        return;
    }
    accept();
}

QString FilterFormDialog::conditionsFor(const FilterRule &row) const
{
    const QString form = conditionsJson();
    if (!m_editing || row.type != m_type)
        return form;
    if (form == m_shown.conditions)
        return row.conditions;
    const QStringList keys = shownKeys(m_type);
    QJsonObject merged = parsedObject(row.conditions);
    for (const QString &key : keys)
        merged.remove(key);
    const QJsonObject shown = parsedObject(form);
    for (auto it = shown.begin(); it != shown.end(); ++it) {
        if (keys.contains(it.key()))
            merged.insert(it.key(), it.value());
    }
    return compact(merged);
}

void FilterFormDialog::applyChanges(FilterRule &row) const
{
    const Shown now = shown();
    const FilterRule stored = row;
    // A name left as it was keeps its stored form.
    if (now.name != m_shown.name)
        row.name = now.name.trimmed();
    const bool typeChanged = m_type != m_rule.type;
    if (typeChanged || now.conditions != m_shown.conditions) {
        row.conditions = conditionsFor(row);
        row.type = m_type;
    }
    if (typeChanged) {
        const bool specific = m_type == FilterType::Specific;
        row.event_uid = specific ? m_eventUid : QString();
        row.event_calendar_id = specific ? m_eventCalendarId : QString();
    }
    if (typeChanged || now.calendarIds != m_shown.calendarIds)
        row.calendar_ids = calendarIdsJson();
    if (now.action != m_shown.action)
        row.action = now.action;
    if (now.enabled != m_shown.enabled)
        row.enabled = now.enabled;
    if (now.action != m_shown.action || now.suppress != m_shown.suppress)
        row.suppress_reminders = now.action == FilterAction::Dim && now.suppress;
    // Deleted calendars leave the list with a change of the user's, not on
    // an untouched OK: with all of them gone, the empty list left would turn
    // a rule that matches nothing into one for every calendar.
    if (m_calendars->droppedGoneIds() && !(row == stored))
        row.calendar_ids = calendarIdsJson();
    if (!(row == stored))
        row.sync_status = SyncStatus::Pending;
}

QString FilterFormDialog::previewText() const
{
    return m_preview->text();
}

void FilterFormDialog::updatePreview()
{
    if (!m_built || (m_editing && !knownType()))
        return;
    const QDateTime from = QDate::currentDate().startOfDay();
    const QDateTime to = from.addDays(30);
    // Light rows and occurrences: the rule reads no field they lack.
    const QList<Event> rows = m_state->events()->getViewRowsInRange(from, to);
    const QList<Occurrence> occurrences = Recurrence::expandOccurrences(rows, from, to);
    if (occurrences.isEmpty()) {
        m_preview->setText(tr("No events in the next 30 days to preview against."));
        return;
    }
    const FilterRule rule = buildConditions();
    const OccurrenceFilterOutcome outcome = FilterEngine::applyToOccurrences(occurrences, {rule});
    // Counted as the views draw them: every occurrence of a dimmed event is
    // dimmed, as every hidden one is missing.
    int matched = outcome.hiddenCount;
    QSet<QString> kept;
    for (const Occurrence &occurrence : outcome.occurrences) {
        kept.insert(occurrence.event().id);
        if (outcome.dimmedIds.contains(occurrence.event().id))
            ++matched;
    }
    QStringList samples;
    for (const Occurrence &occurrence : occurrences) {
        if (samples.size() == 3)
            break;
        const Event &event = occurrence.event();
        if (outcome.dimmedIds.contains(event.id) || !kept.contains(event.id))
            samples.append(event.title.isEmpty() ? tr("(Untitled)") : event.title);
    }
    const QString verb = rule.action == FilterAction::Hide ? tr("hide") : tr("dim");
    QString text = tr("Would %1 %2 of %3 events in the next 30 days.").arg(verb).arg(matched).arg(occurrences.size());
    if (!samples.isEmpty())
        text += QStringLiteral("  ") + tr("e.g. %1").arg(samples.join(QStringLiteral(", ")));
    m_preview->setText(text);
}
