#include "updatedialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace TolmUpdate {

namespace {

QLabel *namedLabel(const QString &text, const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

UpdateDialog::UpdateDialog(const Artifact &artifact, const QString &currentVersion, const QString &displayName,
                           QWidget *parent)
    : QDialog(parent)
    , m_artifact(artifact)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(tr("Update available"));

    auto *layout = new QVBoxLayout(this);

    auto *heading = namedLabel(tr("%1 %2 is available.").arg(displayName, artifact.version), u"headingLabel"_s, this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.25);
    heading->setFont(headingFont);
    layout->addWidget(heading);
    layout->addWidget(namedLabel(tr("You have version %1.").arg(currentVersion), u"currentVersionLabel"_s, this));

    if (artifact.mandatory)
        layout->addWidget(namedLabel(tr("This update is required."), u"mandatoryLabel"_s, this));

    const QLocale locale;
    auto *details = new QFormLayout;
    details->addRow(tr("Version:"), namedLabel(artifact.version, u"versionLabel"_s, this));
    details->addRow(tr("Released:"),
                    namedLabel(artifact.releaseDate.isValid()
                                   ? locale.toString(artifact.releaseDate, QLocale::LongFormat)
                                   : tr("Unknown"),
                               u"dateLabel"_s, this));
    details->addRow(tr("Download size:"),
                    namedLabel(artifact.size > 0 ? locale.formattedDataSize(artifact.size) : tr("Unknown"),
                               u"sizeLabel"_s, this));
    layout->addLayout(details);

    if (artifact.releaseNotesUrl.isValid()) {
        // The link opens the artifact's URL, not whatever the label's HTML says.
        auto *notes = new QLabel(u"<a href=\"#\">%1</a>"_s.arg(tr("Release notes").toHtmlEscaped()), this);
        notes->setObjectName(u"releaseNotesLabel"_s);
        notes->setTextFormat(Qt::RichText);
        notes->setToolTip(artifact.releaseNotesUrl.toDisplayString());
        connect(notes, &QLabel::linkActivated, this, [this] { QDesktopServices::openUrl(m_artifact.releaseNotesUrl); });
        layout->addWidget(notes);
    }

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *downloadButton = buttons->addButton(tr("Download"), QDialogButtonBox::AcceptRole);
    downloadButton->setObjectName(u"downloadButton"_s);
    downloadButton->setDefault(true);
    QPushButton *laterButton = buttons->addButton(tr("Later"), QDialogButtonBox::RejectRole);
    laterButton->setObjectName(u"laterButton"_s);
    connect(downloadButton, &QPushButton::clicked, this, &UpdateDialog::download);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void UpdateDialog::download()
{
    QDesktopServices::openUrl(m_artifact.url);
    accept();
}

} // namespace TolmUpdate
