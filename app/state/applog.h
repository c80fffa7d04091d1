#pragma once

#include <QLoggingCategory>

// The application's own output: start-up, the data folder, the single-instance
// channel, desktop integration and notifications.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
