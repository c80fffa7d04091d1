#include "filtermenus.h"

#include "filterformdialog.h"
#include "managefiltersdialog.h"
#include "manageviewsdialog.h"
#include "viewformdialog.h"

#include "appstate.h"
#include "event.h"
#include "filterengine.h"
#include "filterrulerepository.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPointer>

namespace FilterMenus {

void addEventActions(QMenu *menu, AppState *state, const Event &occurrence, QWidget *parent)
{
    const QPointer<QWidget> owner(parent);
    if (const std::optional<FilterRule> rule = FilterEngine::matchingRule(occurrence,
                                                                          state->filterRules()->getEnabled())) {
        const FilterRule matched = *rule;
        menu->addAction(QCoreApplication::translate("FilterMenus", "Edit filter \"%1\"…").arg(matched.name), menu,
                        [state, matched, owner] {
            FilterFormDialog form(state, matched, owner);
            form.exec();
        });
    }
    menu->addAction(QCoreApplication::translate("FilterMenus", "Create Filter from Event…"), menu,
                    [state, occurrence, owner] {
        FilterFormDialog form(state, owner);
        form.setSpecificEvent(occurrence);
        form.exec();
    });
}

void addMainWindowActions(QMenu *menu, AppState *state, QWidget *parent)
{
    // Each entry has a mnemonic of its own in its menu (the View menu's
    // "&Today" among them), so one key press reaches it.
    menu->addAction(QCoreApplication::translate("FilterMenus", "New &Filter…"), parent, [state, parent] {
        FilterFormDialog form(state, parent);
        form.exec();
    });
    menu->addAction(QCoreApplication::translate("FilterMenus", "&Manage Filters…"), parent, [state, parent] {
        ManageFiltersDialog dialog(state, parent);
        dialog.exec();
    });
    menu->addAction(QCoreApplication::translate("FilterMenus", "New Calendar &Group…"), parent, [state, parent] {
        ViewFormDialog form(state, parent);
        if (form.exec() == QDialog::Accepted && !form.savedViewId().isEmpty())
            state->setActiveViewId(form.savedViewId());
    });
    menu->addAction(QCoreApplication::translate("FilterMenus", "Manage &Calendar Groups…"), parent, [state, parent] {
        ManageViewsDialog dialog(state, parent);
        dialog.exec();
    });
}

} // namespace FilterMenus
