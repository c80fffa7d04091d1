#include "managetemplatesdialog.h"

#include "appstate.h"
#include "storedrowedit.h"
#include "templateeditordialog.h"
#include "templaterepository.h"
#include "theme.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTemplateIdRole = Qt::UserRole;

} // namespace

ManageTemplatesDialog::ManageTemplatesDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setWindowTitle(tr("Event Templates"));
    setModal(true);
    resize(560, 480);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto *hint = new QLabel(tr("Templates pre-fill the new-event form. Double-click to edit."), this);
    hint->setWordWrap(true);
    hint->setStyleSheet(u"color: %1;"_s.arg(Theme::textMuted().name()));
    layout->addWidget(hint);

    m_list = new QListWidget(this);
    m_list->setObjectName(u"templateList"_s);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &ManageTemplatesDialog::editTemplate);
    layout->addWidget(m_list, 1);

    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    auto *add = new QPushButton(tr("Add…"), this);
    add->setObjectName(u"addTemplate"_s);
    auto *edit = new QPushButton(tr("Edit…"), this);
    edit->setObjectName(u"editTemplate"_s);
    auto *remove = new QPushButton(tr("Delete"), this);
    remove->setObjectName(u"deleteTemplate"_s);
    connect(add, &QPushButton::clicked, this, &ManageTemplatesDialog::addTemplate);
    connect(edit, &QPushButton::clicked, this, &ManageTemplatesDialog::editTemplate);
    connect(remove, &QPushButton::clicked, this, &ManageTemplatesDialog::deleteTemplate);
    row->addWidget(add);
    row->addWidget(edit);
    row->addWidget(remove);
    row->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    row->addWidget(buttons);
    layout->addLayout(row);

    reload();
}

void ManageTemplatesDialog::reload()
{
    m_list->clear();
    for (const EventTemplate &eventTemplate : m_state->templates()->getAll()) {
        const QString title = eventTemplate.title.isEmpty() ? tr("(no title)") : eventTemplate.title;
        auto *item = new QListWidgetItem(tr("%1: %2").arg(eventTemplate.name, title), m_list);
        if (!eventTemplate.color.isEmpty())
            item->setIcon(Theme::colorDotIcon(eventTemplate.color));
        item->setData(kTemplateIdRole, eventTemplate.id);
    }
}

void ManageTemplatesDialog::addTemplate()
{
    EventTemplate fresh;
    fresh.reminders = {15};
    TemplateEditorDialog editor(m_state, fresh, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    if (!m_state->templates()->insert(editor.result()))
        QMessageBox::critical(this, tr("Database Error"), tr("Could not save the template."));
    reload();
}

std::optional<EventTemplate> ManageTemplatesDialog::currentTemplate() const
{
    const QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return std::nullopt;
    return m_state->templates()->getById(item->data(kTemplateIdRole).toString());
}

void ManageTemplatesDialog::editTemplate()
{
    const std::optional<EventTemplate> stored = currentTemplate();
    if (!stored)
        return;
    TemplateEditorDialog editor(m_state, *stored, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    if (!StoredRowEdit::apply(m_state->database(), m_state->templates(), stored->id,
                              [&editor](EventTemplate &row) { editor.applyChanges(row); }))
        QMessageBox::critical(this, tr("Database Error"), tr("Could not save the template."));
    reload();
}

void ManageTemplatesDialog::deleteTemplate()
{
    const std::optional<EventTemplate> stored = currentTemplate();
    if (!stored)
        return;
    const auto answer = QMessageBox::question(
        this, tr("Delete template?"),
        tr("Delete the template \"%1\"? Events already created from it are unaffected.").arg(stored->name),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!m_state->templates()->remove(stored->id))
        QMessageBox::critical(this, tr("Database Error"), tr("Could not delete the template."));
    reload();
}
