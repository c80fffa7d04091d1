#pragma once

#include <QString>
#include <QStringList>

class QFrame;
class QLabel;
class QListWidget;
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
// Single selection, internal drag and drop that moves rows.
void makeReorderable(QListWidget *list);
// A row that cannot be selected, checked or dragged.
void addPlaceholderRow(QListWidget *list, const QString &text);
// The current row's id (Qt::UserRole); empty without a current row.
QString currentRowId(const QListWidget *list);
// The rows' ids from top to bottom, rows without one skipped.
QStringList rowIds(const QListWidget *list);

} // namespace DialogParts
