#include "manageviewsdialog.h"

#include "dialogparts.h"
#include "viewformdialog.h"

#include "appstate.h"
#include "theme.h"
#include "viewrepository.h"

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

ManageViewsDialog::ManageViewsDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setWindowTitle(tr("Manage Calendar Groups"));
    setModal(true);
    const DialogParts::ManagerParts parts = DialogParts::buildManager(
        this, tr("Calendar Groups"),
        tr("Drag a row to change the order groups appear in the picker. Use Edit to change which calendars a "
           "group includes, or Delete to remove a group."),
        tr("Add group…"));
    m_list = parts.list;
    m_list->setObjectName(QStringLiteral("groupList"));
    m_edit = parts.edit;
    m_delete = parts.remove;

    connect(parts.add, &QPushButton::clicked, this, &ManageViewsDialog::addGroup);
    connect(m_edit, &QPushButton::clicked, this, &ManageViewsDialog::editGroup);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &ManageViewsDialog::editGroup);
    connect(m_delete, &QPushButton::clicked, this, &ManageViewsDialog::deleteGroup);
    connect(m_list->model(), &QAbstractItemModel::rowsMoved, this, &ManageViewsDialog::saveOrder);
    // Queued: the list must not be rebuilt under a handler still using a row.
    connect(state->views(), &ViewRepository::viewsChanged, this, &ManageViewsDialog::reload, Qt::QueuedConnection);

    resize(560, 480);
    reload();
}

ManageViewsDialog::~ManageViewsDialog() = default;

void ManageViewsDialog::reload()
{
    const bool blocked = m_list->blockSignals(true);
    m_list->clear();
    const QList<CalendarView> views = m_state->views()->getAll();
    for (const CalendarView &view : views) {
        auto *item = new QListWidgetItem(view.name, m_list);
        if (!view.color.isEmpty())
            item->setIcon(Theme::colorDotIcon(view.color));
        item->setData(Qt::UserRole, view.id);
        if (view.id == ViewFormDialog::allCalendarsId())
            item->setFlags(item->flags() & ~Qt::ItemIsDragEnabled);
    }
    if (views.isEmpty())
        DialogParts::addPlaceholderRow(m_list, tr("(no groups yet)"));
    m_list->blockSignals(blocked);
    m_edit->setEnabled(!views.isEmpty());
    m_delete->setEnabled(!views.isEmpty());
}

void ManageViewsDialog::addGroup()
{
    ViewFormDialog form(m_state, this);
    form.exec();
}

void ManageViewsDialog::editGroup()
{
    const QString id = DialogParts::currentRowId(m_list);
    if (id.isEmpty())
        return;
    const std::optional<CalendarView> view = m_state->views()->getById(id);
    if (!view)
        return;
    ViewFormDialog form(m_state, *view, this);
    form.exec();
}

void ManageViewsDialog::deleteGroup()
{
    const QString id = DialogParts::currentRowId(m_list);
    if (id.isEmpty())
        return;
    if (id == ViewFormDialog::allCalendarsId()) {
        QMessageBox::information(this, tr("Built-in group"),
                                 tr("\"All Calendars\" is the fallback group. It can be renamed but not deleted."));
        return;
    }
    const std::optional<CalendarView> view = m_state->views()->getById(id);
    if (!view)
        return;
    const auto answer = QMessageBox::question(this, tr("Delete group?"),
                                              tr("Delete \"%1\"? You can recreate it later.").arg(view->name),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!m_state->views()->remove(id)) {
        refused(tr("Could not delete the group."));
        return;
    }
    // The views must not go on showing a group that is gone; the choice is
    // stored, so a restart opens on the fallback group as well.
    if (m_state->activeViewId() == id)
        m_state->setActiveViewId(ViewFormDialog::allCalendarsId());
}

void ManageViewsDialog::saveOrder()
{
    const QStringList ids = DialogParts::rowIds(m_list);
    // Refused, the list would show an order that is not stored.
    if (!ids.isEmpty() && !m_state->views()->reorder(ids))
        refused(tr("Could not save the order of the groups."));
}

void ManageViewsDialog::refused(const QString &what)
{
    // Queued, as after a write: the row that changed is still in use.
    QMetaObject::invokeMethod(this, &ManageViewsDialog::reload, Qt::QueuedConnection);
    QMessageBox::critical(this, tr("Database Error"), what);
}
