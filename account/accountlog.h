#pragma once

#include <QLoggingCategory>

// Output of the account library: the token stores and the API clients. Debug
// output (request paths) is off unless logging rules switch it on.
Q_DECLARE_LOGGING_CATEGORY(lcAccount)
