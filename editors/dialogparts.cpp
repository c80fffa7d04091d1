#include "dialogparts.h"

#include "theme.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>

namespace DialogParts {

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setWeight(QFont::Bold);
    font.setPointSize(16);
    label->setFont(font);
    return label;
}

QLabel *mutedLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setProperty("muted", true);
    return label;
}

QFrame *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::border().name()));
    return line;
}

void makeReorderable(QListWidget *list)
{
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumHeight(280);
    list->setDragEnabled(true);
    list->setAcceptDrops(true);
    list->setDropIndicatorShown(true);
    list->setDragDropMode(QAbstractItemView::InternalMove);
    list->setDefaultDropAction(Qt::MoveAction);
}

void addPlaceholderRow(QListWidget *list, const QString &text)
{
    auto *row = new QListWidgetItem(text, list);
    row->setFlags(Qt::NoItemFlags);
}

QString currentRowId(const QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QStringList rowIds(const QListWidget *list)
{
    QStringList ids;
    for (int i = 0; i < list->count(); ++i) {
        const QString id = list->item(i)->data(Qt::UserRole).toString();
        if (!id.isEmpty())
            ids.append(id);
    }
    return ids;
}

} // namespace DialogParts
