#pragma once

#include <QLoggingCategory>

// The calendar core's one category. Only series expansion writes to it, and
// only at debug level; it stays quiet unless logging rules switch it on.
Q_DECLARE_LOGGING_CATEGORY(lcExpansion)
