#include "cloudlog.h"

Q_LOGGING_CATEGORY(lcConfigSync, "calendar.configsync")
