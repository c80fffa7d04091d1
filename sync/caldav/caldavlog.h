#pragma once

#include <QLoggingCategory>

// Verbose output of CalDAV discovery and sync; warnings go through it too.
Q_DECLARE_LOGGING_CATEGORY(lcCalDav)
