#include "accountlog.h"

Q_LOGGING_CATEGORY(lcAccount, "tolmaccount", QtInfoMsg)
