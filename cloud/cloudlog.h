#pragma once

#include <QLoggingCategory>

// Output of the maker's cloud service: configuration sync and the cloud
// calendar list.
Q_DECLARE_LOGGING_CATEGORY(lcConfigSync)
