#include "caldavlog.h"

Q_LOGGING_CATEGORY(lcCalDav, "calendar.caldav")
