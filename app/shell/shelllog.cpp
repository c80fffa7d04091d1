#include "shelllog.h"

Q_LOGGING_CATEGORY(lcShell, "calendar.shell")
