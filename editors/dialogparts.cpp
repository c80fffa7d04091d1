#include "dialogparts.h"

#include "theme.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// How much taller the height-for-width items of `layout` are at their width
// than the minimum the layout counts for them. Rows side by side are added up
// too, which errs on the tall side.
int wrapShortfall(const QLayout *layout)
{
    int shortfall = 0;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (const QLayout *inner = item->layout()) {
            shortfall += wrapShortfall(inner);
        } else if (const QWidget *widget = item->widget();
                   widget && !widget->isHidden() && widget->hasHeightForWidth()) {
            shortfall += std::max(0, widget->heightForWidth(widget->width()) - item->minimumSize().height());
        }
    }
    return shortfall;
}

} // namespace

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

QFormLayout *formLayout()
{
    auto *form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setHorizontalSpacing(12);
    form->setVerticalSpacing(12);
    return form;
}

QFrame *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: %1;").arg(Theme::border().name()));
    return line;
}

ManagerParts buildManager(QDialog *dialog, const QString &headingText, const QString &help, const QString &addText)
{
    ManagerParts parts;
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(heading(headingText, dialog));
    layout->addWidget(mutedLabel(help, dialog));
    parts.list = new QListWidget(dialog);
    makeReorderable(parts.list);
    layout->addWidget(parts.list, 1);

    auto *row = new QHBoxLayout;
    parts.add = new QPushButton(addText, dialog);
    parts.add->setObjectName(QStringLiteral("addButton"));
    parts.edit = new QPushButton(QCoreApplication::translate("DialogParts", "Edit…"), dialog);
    parts.edit->setObjectName(QStringLiteral("editButton"));
    parts.remove = new QPushButton(QCoreApplication::translate("DialogParts", "Delete"), dialog);
    parts.remove->setObjectName(QStringLiteral("deleteButton"));
    row->addWidget(parts.add);
    row->addWidget(parts.edit);
    row->addStretch(1);
    row->addWidget(parts.remove);
    layout->addLayout(row);
    layout->addWidget(divider(dialog));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return parts;
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

void fitHeight(QWidget *window)
{
    QLayout *layout = window->layout();
    if (!layout)
        return;
    layout->activate();
    // The layout's minimum counts a word-wrapped label as one line, but laid
    // out at this width it takes its height for the width, and the shortfall
    // squeezes its neighbours (a time editor cut in half). Kept within the
    // screen, so the buttons stay reachable.
    int minimum = layout->totalMinimumSize().height() + wrapShortfall(layout);
    if (const QScreen *screen = window->screen())
        minimum = std::min(minimum, screen->availableGeometry().height());
    window->setMinimumHeight(minimum);
    if (window->height() < minimum)
        window->resize(window->width(), minimum);
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
