#include "providerslog.h"

Q_LOGGING_CATEGORY(lcProviders, "calendar.providers")
