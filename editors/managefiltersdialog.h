#pragma once

#include "filterrule.h"

#include <QDialog>

#include <optional>

class AppState;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// Every filter rule, one checkable row each: the check box switches a rule
// on and off, dragging a row sets the order the rules apply in (top first),
// and the buttons add, edit and delete rules. Each change is written at once.
class ManageFiltersDialog : public QDialog
{
    Q_OBJECT
public:
    ManageFiltersDialog(AppState *state, QWidget *parent = nullptr);
    ~ManageFiltersDialog() override;

    void reload();
    QListWidget *list() const { return m_list; }

    // "%1   ·   %2 → %3": name, kind and action.
    static QString rowText(const QString &name, const QString &type, const QString &action);

private:
    // The rule of the current row, as stored.
    std::optional<FilterRule> currentRule() const;
    void addRule();
    void editRule();
    void deleteRule();
    void setRuleEnabled(QListWidgetItem *item);
    void saveOrder();
    // After a write the store refused: says so and shows the rules as stored.
    void refused(const QString &what);

    AppState *m_state;
    QListWidget *m_list = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
};
