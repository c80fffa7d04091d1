#pragma once

#include "artifact.h"

#include <QDialog>

namespace TolmUpdate {

// Offers a newer release: its version, date, size and release notes, and a
// button that opens the download in the browser. Modeless; deletes itself
// when closed, so create it with new and only show() it.
class UpdateDialog : public QDialog
{
    Q_OBJECT
public:
    UpdateDialog(const Artifact &artifact, const QString &currentVersion, const QString &displayName,
                 QWidget *parent = nullptr);

    const Artifact &artifact() const { return m_artifact; }

private:
    void download();

    Artifact m_artifact;
};

} // namespace TolmUpdate
