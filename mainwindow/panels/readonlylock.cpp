#include "readonlylock.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

void lockReadOnly(QDialog *dialog, const QString &reason)
{
    const QList<QDialogButtonBox *> boxes = dialog->findChildren<QDialogButtonBox *>();
    QList<QAbstractButton *> keep;
    for (QDialogButtonBox *box : boxes) {
        const QList<QAbstractButton *> buttons = box->buttons();
        for (QAbstractButton *button : buttons) {
            const QDialogButtonBox::ButtonRole role = box->buttonRole(button);
            if (role == QDialogButtonBox::RejectRole) {
                button->setText(QCoreApplication::translate("ReadOnlyLock", "Close"));
                keep.append(button);
            } else if (role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::ApplyRole
                       || role == QDialogButtonBox::YesRole) {
                button->hide();
            }
        }
    }
    const QList<QAbstractButton *> buttons = dialog->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (!keep.contains(button))
            button->setEnabled(false);
    }
    for (QLineEdit *edit : dialog->findChildren<QLineEdit *>())
        edit->setReadOnly(true);
    for (QPlainTextEdit *edit : dialog->findChildren<QPlainTextEdit *>())
        edit->setReadOnly(true);
    for (QComboBox *combo : dialog->findChildren<QComboBox *>())
        combo->setEnabled(false);
    for (QAbstractSpinBox *spin : dialog->findChildren<QAbstractSpinBox *>())
        spin->setReadOnly(true);

    auto *notice = new QLabel(reason, dialog);
    notice->setObjectName(u"readOnlyReason"_s);
    notice->setWordWrap(true);
    if (auto *layout = qobject_cast<QBoxLayout *>(dialog->layout()))
        layout->insertWidget(0, notice);
}
