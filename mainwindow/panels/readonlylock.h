#pragma once

#include <QString>

class QDialog;

// Turns an editing dialog into a view of what it shows: every button that
// would change something is disabled and the accepting ones hidden, inputs
// take no edits, Cancel reads "Close", and `reason` is shown on top.
void lockReadOnly(QDialog *dialog, const QString &reason);
