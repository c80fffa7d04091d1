#pragma once

#include <QLoggingCategory>

// Verbose output of subscription fetches; warnings go through it too.
Q_DECLARE_LOGGING_CATEGORY(lcWebcal)
