#pragma once

#include <QLoggingCategory>

// The program's start, its single-instance channel and the update check.
Q_DECLARE_LOGGING_CATEGORY(lcShell)
