#pragma once

#include "eventtemplate.h"

#include <QDialog>

#include <optional>

class AppState;
class QListWidget;

// The event templates with Add, Edit and Delete. Every change is written at
// once through the template repository, then the list is read again; the
// dialog itself has no result.
class ManageTemplatesDialog : public QDialog
{
    Q_OBJECT
public:
    // `state` is not owned.
    ManageTemplatesDialog(AppState *state, QWidget *parent = nullptr);

private:
    void reload();
    void addTemplate();
    void editTemplate();
    void deleteTemplate();
    // The selected item's template, unless it is gone meanwhile.
    std::optional<EventTemplate> currentTemplate() const;

    AppState *m_state;
    QListWidget *m_list = nullptr;
};
