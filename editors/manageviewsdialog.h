#pragma once

#include <QDialog>

class AppState;
class QListWidget;
class QPushButton;

// Every calendar group, in the order of the views' group picker: dragging a
// row reorders, the buttons add, edit and delete groups. Each change is
// written at once. The built-in "All Calendars" stays first and cannot be
// deleted.
class ManageViewsDialog : public QDialog
{
    Q_OBJECT
public:
    ManageViewsDialog(AppState *state, QWidget *parent = nullptr);
    ~ManageViewsDialog() override;

    void reload();
    QListWidget *list() const { return m_list; }

private:
    void addGroup();
    void editGroup();
    void deleteGroup();
    void saveOrder();
    // Tells that the store refused a write, and shows the list as stored.
    void refused(const QString &what);

    AppState *m_state;
    QListWidget *m_list = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_delete = nullptr;
};
