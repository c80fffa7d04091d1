#include "viewformdialog.h"

#include "calendarchecklist.h"
#include "recordnames.h"

#include "appstate.h"
#include "storedrowedit.h"
#include "theme.h"
#include "viewrepository.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUuid>
#include <QVBoxLayout>

ViewFormDialog::ViewFormDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setWindowTitle(tr("Add Calendar Group"));
    setModal(true);
    buildUi();
    updateAccentButton();
}

ViewFormDialog::ViewFormDialog(AppState *state, const CalendarView &view, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_editing(true)
    , m_view(view)
    , m_accent(view.color)
{
    setWindowTitle(tr("Edit Calendar Group"));
    setModal(true);
    buildUi();
    load();
    updateAccentButton();
}

ViewFormDialog::~ViewFormDialog() = default;

QString ViewFormDialog::allCalendarsId()
{
    return QStringLiteral("all-calendars");
}

void ViewFormDialog::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    if (!m_editing) {
        auto *intro = new QLabel(tr("Calendar Groups are saved sets of calendars you switch between. Pick which "
                                    "calendars belong to this group, leave the list empty to include every "
                                    "visible calendar."),
                                 this);
        intro->setWordWrap(true);
        layout->addWidget(intro);
    }
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_name->setPlaceholderText(tr("e.g. Work, Personal, Travel"));
    form->addRow(tr("&Name:"), m_name);
    m_accentButton = new QPushButton(this);
    m_accentButton->setObjectName(QStringLiteral("accentButton"));
    m_accentButton->setMinimumWidth(120);
    connect(m_accentButton, &QPushButton::clicked, this, &ViewFormDialog::pickAccent);
    form->addRow(tr("&Accent:"), m_accentButton);
    m_calendars = new CalendarChecklist(m_state, CalendarChecklist::Calendars::All, this);
    m_calendars->setMinimumHeight(280);
    form->addRow(tr("Calendars:"), m_calendars);
    m_goneNotice = CalendarChecklist::goneNotice(
        tr("Every calendar of this group has been deleted, so it shows nothing. Check the "
           "calendars it should include; saved without any, it includes every visible "
           "calendar."),
        this);
    form->addRow(QString(), m_goneNotice);
    layout->addLayout(form);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(m_editing ? tr("Save") : tr("Create Group"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ViewFormDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 520);
    m_name->setFocus();
}

void ViewFormDialog::load()
{
    m_name->setText(m_view.name);
    if (m_view.id == allCalendarsId()) {
        // Its name may change; what it covers may not.
        m_calendars->setEnabled(false);
        m_calendars->setToolTip(tr("“All Calendars” always covers every visible calendar — its membership can't "
                                   "be edited. Toggle individual calendars from their own menus instead."));
    }
    m_calendars->setCheckedIds(m_view.calendar_ids);
    m_shownCalendarIds = m_calendars->checkedIdsJson();
    m_goneNotice->setVisible(m_calendars->everyCalendarGone());
}

void ViewFormDialog::updateAccentButton()
{
    const QColor color(m_accent);
    if (m_accent.isEmpty() || !color.isValid()) {
        m_accentButton->setStyleSheet(QString());
        m_accentButton->setText(tr("(no accent)"));
        return;
    }
    const QString text = Theme::textOn(color) == Qt::white ? QStringLiteral("#fff") : QStringLiteral("#000");
    m_accentButton->setStyleSheet(QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid #888; "
                                                 "padding: 6px 12px; border-radius: 4px; }")
                                      .arg(color.name(), text));
    m_accentButton->setText(color.name().toUpper());
}

void ViewFormDialog::pickAccent()
{
    const QColor start(m_accent.isEmpty() ? QStringLiteral("#4285F4") : m_accent);
    const QColor chosen = QColorDialog::getColor(start, this, tr("Pick a group accent color"));
    if (!chosen.isValid())
        return;
    m_accent = chosen.name();
    updateAccentButton();
}

void ViewFormDialog::save()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        QMessageBox::warning(this, tr("Name required"), tr("Please enter a name for the group."));
        m_name->setFocus();
        return;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    CalendarView record;
    bool ok = false;
    if (m_editing) {
        record = m_view;
        ok = StoredRowEdit::apply(m_state->database(), m_state->views(), m_view.id,
                                  [this](CalendarView &row) { applyChanges(row); });
    } else {
        record.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        record.is_default = false;
        // After the last group, also when a drag left gaps in the order.
        const QList<CalendarView> groups = m_state->views()->getAll();
        int last = -1;
        for (const CalendarView &group : groups)
            last = qMax(last, group.sort_order);
        record.sort_order = qMax(int(groups.size()), last + 1);
        record.created_at = now;
        record.name = name;
        record.color = m_accent;
        record.calendar_ids = m_calendars->checkedIdsJson();
        record.sync_status = SyncStatus::Pending;
        record.updated_at = now;
        ok = m_state->views()->insert(record);
    }
    if (!ok) {
        QMessageBox::critical(this, tr("Database Error"), tr("Could not save the group."));
        return;
    }
    m_savedId = record.id;
    accept();
}

void ViewFormDialog::applyChanges(CalendarView &row) const
{
    const CalendarView stored = row;
    // A name left as it was keeps its stored form.
    if (m_name->text() != m_view.name)
        row.name = m_name->text().trimmed();
    if (m_accent != m_view.color)
        row.color = m_accent;
    const QString ids = m_calendars->checkedIdsJson();
    if (ids != m_shownCalendarIds || m_calendars->droppedGoneIds())
        row.calendar_ids = ids;
    if (row != stored)
        row.sync_status = SyncStatus::Pending;
}
