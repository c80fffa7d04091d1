#include "recurringeditscopedialog.h"

#include "event.h"
#include "eventaccess.h"
#include "readonlylock.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

RecurringEditScopeDialog::RecurringEditScopeDialog(const QString &eventTitle, QWidget *parent, Purpose purpose)
    : QDialog(parent)
{
    const bool deleting = purpose == Purpose::Delete;
    setWindowTitle(deleting ? tr("Delete Recurring Event") : tr("Edit Recurring Event"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto *heading = new QLabel((deleting ? tr("Delete \"%1\"") : tr("Edit \"%1\"")).arg(eventTitle), this);
    QFont font = heading->font();
    font.setWeight(QFont::Bold);
    font.setPointSize(16);
    heading->setFont(font);
    heading->setWordWrap(true);
    // The title comes from servers too: text, never markup.
    heading->setTextFormat(Qt::PlainText);
    layout->addWidget(heading);

    auto *prompt = new QLabel(deleting ? tr("This event repeats. Delete:")
                                       : tr("This event repeats. Apply your changes to:"),
                              this);
    prompt->setWordWrap(true);
    prompt->setTextFormat(Qt::PlainText);
    prompt->setProperty("muted", true);
    layout->addWidget(prompt);
    layout->addSpacing(8);

    const struct
    {
        RecurringEditScope scope;
        QString text;
        QString tooltip;
        const char *name;
    } choices[] = {
        {RecurringEditScope::ThisEvent, tr("This event only"),
         deleting ? tr("Only this occurrence is deleted; the rest of the series stays.")
                  : tr("Only this occurrence is changed; the rest of the series stays as it was."),
         "thisEvent"},
        {RecurringEditScope::ThisAndFollowing, tr("This and following events"),
         deleting ? tr("This occurrence and every later one are deleted. Past occurrences stay.")
                  : tr("This occurrence and every later one inherit the change. Past occurrences keep their "
                       "original times."),
         "thisAndFollowing"},
        {RecurringEditScope::AllEvents, tr("All events in the series"),
         deleting ? tr("Every occurrence — past and future — is deleted.")
                  : tr("The master event shifts; every occurrence — past and future — moves with it."),
         "allEvents"},
    };
    for (const auto &choice : choices) {
        auto *button = new QPushButton(choice.text, this);
        button->setObjectName(QLatin1String(choice.name));
        button->setMinimumHeight(40);
        button->setToolTip(choice.tooltip);
        button->setAutoDefault(false);
        const RecurringEditScope scope = choice.scope;
        connect(button, &QPushButton::clicked, this, [this, scope] {
            m_scope = scope;
            accept();
        });
        layout->addWidget(button);
    }

    layout->addStretch();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setIcon(QIcon());
    connect(buttons, &QDialogButtonBox::rejected, this, [this] {
        m_scope = RecurringEditScope::None;
        reject();
    });
    layout->addWidget(buttons);

    resize(400, sizeHint().height());
}

RecurringEditScopeDialog::RecurringEditScopeDialog(AppState *state, const Event &event, QWidget *parent)
    : RecurringEditScopeDialog(event.title, parent)
{
    if (const QString reason = EventAccess::readOnlyReason(state, event.calendar_id); !reason.isEmpty())
        lockReadOnly(this, reason);
}
