#pragma once

#include <QLoggingCategory>

// Output of the updater's release-manifest client.
Q_DECLARE_LOGGING_CATEGORY(lcUpdateClient)
