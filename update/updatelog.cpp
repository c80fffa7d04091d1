#include "updatelog.h"

Q_LOGGING_CATEGORY(lcUpdateClient, "tolmupdate.client")
