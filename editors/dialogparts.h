#pragma once

#include <QString>
#include <QStringList>

class QFormLayout;
class QFrame;
class QLabel;
class QDialog;
class QListWidget;
class QPushButton;
class QWidget;

// The pieces the list-managing dialogs and forms share: their heading, muted
// help text, divider and the reorderable list.
namespace DialogParts {

// Bold (700), 16 pt.
QLabel *heading(const QString &text, QWidget *parent);
// Word-wrapped, greyed by the style sheet's [muted="true"].
QLabel *mutedLabel(const QString &text, QWidget *parent);
// A plain horizontal line in the theme's border colour.
QFrame *divider(QWidget *parent);
// The forms' field grid: labels right-aligned, 12 px between rows and columns.
QFormLayout *formLayout();
// The widgets of a dialog that manages a list of records.
struct ManagerParts
{
    QListWidget *list = nullptr;
    QPushButton *add = nullptr;
    QPushButton *edit = nullptr;
    QPushButton *remove = nullptr;
};

// Lays `dialog` out (margins 16) as a heading, muted help, the reorderable
// list, a row of `addText`, "Edit…", a stretch and "Delete", a divider and a
// Close button that rejects.
ManagerParts buildManager(QDialog *dialog, const QString &heading, const QString &help, const QString &addText);

// Single selection, internal drag and drop that moves rows.
void makeReorderable(QListWidget *list);
// A row that cannot be selected, checked or dragged.
void addPlaceholderRow(QListWidget *list, const QString &text);
// Makes the least height of `window` the one its layout needs at its present
// width (no more than the screen's) and grows it to that, so that a status
// or preview line that appeared or wrapped cuts nothing off.
void fitHeight(QWidget *window);
// The current row's id (Qt::UserRole); empty without a current row.
QString currentRowId(const QListWidget *list);
// The rows' ids from top to bottom, rows without one skipped.
QStringList rowIds(const QListWidget *list);

} // namespace DialogParts
