#include "quickadddialog.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "dialogparts.h"
#include "nlparser.h"
#include "quickadd.h"
#include "storefailure.h"
#include "storefailuretext.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QuickAddDialog::QuickAddDialog(AppState *state, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
{
    setWindowTitle(tr("Quick Add"));
    setModal(false);
    setFixedWidth(360);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(8);

    auto *intro = new QLabel(tr("Type an event in plain English."), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_input = new QLineEdit(this);
    m_input->setObjectName(u"quickAddInput"_s);
    m_input->setPlaceholderText(tr("e.g. \"lunch Thursday 1pm\""));
    m_input->setClearButtonEnabled(true);
    layout->addWidget(m_input);

    m_preview = new QLabel(this);
    m_preview->setObjectName(u"quickAddPreview"_s);
    m_preview->setWordWrap(true);
    QFont small = m_preview->font();
    small.setPointSizeF(qMax(8.0, small.pointSizeF() - 1.0));
    m_preview->setFont(small);
    QPalette muted = m_preview->palette();
    muted.setColor(QPalette::All, QPalette::WindowText, palette().color(QPalette::Mid));
    m_preview->setPalette(muted);
    layout->addWidget(m_preview);

    connect(m_input, &QLineEdit::textChanged, this, &QuickAddDialog::onTextChanged);
    connect(m_input, &QLineEdit::returnPressed, this, &QuickAddDialog::onCommit);
}

void QuickAddDialog::onTextChanged(const QString &text)
{
    if (text.trimmed().isEmpty()) {
        showPreview(QString());
        return;
    }
    const NLParser::ParseResult parsed = NLParser::parse(text, QDateTime::currentDateTime());
    if (const QString problem = problemText(parsed); !problem.isEmpty()) {
        showPreview(problem);
        return;
    }
    QString line;
    if (parsed.allDay) {
        line = parsed.start.toLocalTime().toString(u"ddd, MMM d"_s) + u"  \u2012  All-day"_s;
    } else {
        line = parsed.start.toLocalTime().toString(u"ddd, MMM d  h:mm AP"_s);
        if (parsed.end)
            line += u" \u2013 "_s + parsed.end->toLocalTime().toString(u"h:mm AP"_s);
    }
    if (!parsed.title.isEmpty())
        line += u"  \u00b7  "_s + parsed.title;
    showPreview(line);
}

QString QuickAddDialog::problemText(const NLParser::ParseResult &parsed)
{
    if (!parsed.invalidDate.isEmpty())
        return tr("No such date: %1").arg(parsed.invalidDate);
    if (!parsed.invalidTime.isEmpty())
        return tr("No such time: %1").arg(parsed.invalidTime);
    return QString();
}

void QuickAddDialog::onCommit()
{
    const QString text = m_input->text().trimmed();
    if (text.isEmpty())
        return;
    if (!m_state || !m_state->calendars() || m_state->calendars()->getAll().isEmpty()) {
        Q_EMIT openMainWindow();
        accept();
        return;
    }
    if (const QString busy = StoreFailureText::importRunning(m_state); !busy.isEmpty()) {
        showPreview(busy);
        return;
    }
    // The preview's reason stays: "Couldn't save event" would hide it.
    if (const QString problem = problemText(NLParser::parse(text, QDateTime::currentDateTime()));
        !problem.isEmpty()) {
        showPreview(problem);
        return;
    }
    StoreFailure::clear();
    if (QuickAdd::addFromText(m_state, text, QString()).isEmpty()) {
        // A full disk or a read-only database is named, so the user knows
        // what to do about it.
        const QString why = StoreFailureText::lastFailure();
        showPreview(why.isEmpty() ? tr("Couldn't save event") : why);
        return;
    }
    accept();
}

void QuickAddDialog::showPreview(const QString &text)
{
    m_preview->setText(text);
    if (isVisible())
        DialogParts::fitHeight(this);
}

void QuickAddDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_input->clear();
    m_preview->clear();
    m_input->setFocus(Qt::OtherFocusReason);
}
