#include "managefiltersdialog.h"

#include "dialogparts.h"
#include "filterformdialog.h"
#include "recordnames.h"

#include "appstate.h"
#include "filterrulerepository.h"

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString typeLabel(const QString &type)
{
    if (type == FilterType::Pattern)
        return ManageFiltersDialog::tr("Pattern");
    if (type == FilterType::Time)
        return ManageFiltersDialog::tr("Time");
    if (type == FilterType::Specific)
        return ManageFiltersDialog::tr("Specific");
    if (type == FilterType::AllDay)
        return ManageFiltersDialog::tr("All-day");
    return type;
}

QString actionLabel(const QString &action)
{
    if (action == FilterAction::Hide)
        return ManageFiltersDialog::tr("Hide");
    if (action == FilterAction::Dim)
        return ManageFiltersDialog::tr("Dim");
    return action;
}

} // namespace

ManageFiltersDialog::ManageFiltersDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setWindowTitle(tr("Manage Filters"));
    setModal(true);
    const DialogParts::ManagerParts parts = DialogParts::buildManager(
        this, tr("Filters"),
        tr("Toggle the checkbox to enable / disable a filter. Drag a row to change priority (top of the list "
           "applies first). Use Edit to change conditions or Delete to remove it."),
        tr("Add filter…"));
    m_list = parts.list;
    m_list->setObjectName(QStringLiteral("filterList"));
    m_edit = parts.edit;
    m_delete = parts.remove;

    connect(parts.add, &QPushButton::clicked, this, &ManageFiltersDialog::addRule);
    connect(m_edit, &QPushButton::clicked, this, &ManageFiltersDialog::editRule);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &ManageFiltersDialog::editRule);
    connect(m_delete, &QPushButton::clicked, this, &ManageFiltersDialog::deleteRule);
    connect(m_list, &QListWidget::itemChanged, this, &ManageFiltersDialog::setRuleEnabled);
    connect(m_list->model(), &QAbstractItemModel::rowsMoved, this, &ManageFiltersDialog::saveOrder);
    // Queued: the list must not be rebuilt under a handler still using a row.
    connect(state->filterRules(), &FilterRuleRepository::filterRulesChanged, this, &ManageFiltersDialog::reload,
            Qt::QueuedConnection);

    resize(560, 500);
    reload();
}

ManageFiltersDialog::~ManageFiltersDialog() = default;

QString ManageFiltersDialog::rowText(const QString &name, const QString &type, const QString &action)
{
    return QStringLiteral("%1   ·   %2 → %3").arg(name, typeLabel(type), actionLabel(action));
}

void ManageFiltersDialog::reload()
{
    const bool blocked = m_list->blockSignals(true);
    m_list->clear();
    const QList<FilterRule> rules = m_state->filterRules()->getAll();
    for (const FilterRule &rule : rules) {
        auto *item = new QListWidgetItem(rowText(rule.name, rule.type, rule.action), m_list);
        item->setData(Qt::UserRole, rule.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(rule.enabled ? Qt::Checked : Qt::Unchecked);
    }
    if (rules.isEmpty())
        DialogParts::addPlaceholderRow(m_list, tr("(no filters yet)"));
    m_list->blockSignals(blocked);
    m_edit->setEnabled(!rules.isEmpty());
    m_delete->setEnabled(!rules.isEmpty());
}

void ManageFiltersDialog::addRule()
{
    FilterFormDialog form(m_state, this);
    form.exec();
}

std::optional<FilterRule> ManageFiltersDialog::currentRule() const
{
    const QString id = DialogParts::currentRowId(m_list);
    if (id.isEmpty())
        return std::nullopt;
    return m_state->filterRules()->getById(id);
}

void ManageFiltersDialog::editRule()
{
    const std::optional<FilterRule> rule = currentRule();
    if (!rule)
        return;
    FilterFormDialog form(m_state, *rule, this);
    form.exec();
}

void ManageFiltersDialog::deleteRule()
{
    const std::optional<FilterRule> rule = currentRule();
    if (!rule)
        return;
    const auto answer = QMessageBox::question(this, tr("Delete filter?"),
                                              tr("Delete \"%1\"? You can recreate it later.").arg(rule->name),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes && !m_state->filterRules()->remove(rule->id))
        refused(tr("Could not delete the filter."));
}

void ManageFiltersDialog::setRuleEnabled(QListWidgetItem *item)
{
    const QString id = item->data(Qt::UserRole).toString();
    if (id.isEmpty())
        return;
    const bool checked = item->checkState() == Qt::Checked;
    const std::optional<FilterRule> rule = m_state->filterRules()->getById(id);
    if (rule && rule->enabled != checked && !m_state->filterRules()->setEnabled(id, checked))
        refused(tr("Could not save the filter."));
}

void ManageFiltersDialog::saveOrder()
{
    const QStringList ids = DialogParts::rowIds(m_list);
    // Refused, the list would show an order that is not stored.
    if (!ids.isEmpty() && !m_state->filterRules()->reorder(ids))
        refused(tr("Could not save the order of the filters."));
}

void ManageFiltersDialog::refused(const QString &what)
{
    // Queued, as after a write: the row that changed is still in use.
    QMetaObject::invokeMethod(this, &ManageFiltersDialog::reload, Qt::QueuedConnection);
    QMessageBox::critical(this, tr("Database Error"), what);
}
