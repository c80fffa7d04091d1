#pragma once

#include <QLoggingCategory>

// The application state's output: the data folder, the database it opens,
// the account and desktop integration.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
