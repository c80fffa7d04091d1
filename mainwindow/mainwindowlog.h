#pragma once

#include <QLoggingCategory>

// Output of the main window and what it runs itself, such as the .ics import.
Q_DECLARE_LOGGING_CATEGORY(lcMainWindow)
