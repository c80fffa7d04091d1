#include "corelog.h"

Q_LOGGING_CATEGORY(lcExpansion, "calendar.expansion", QtWarningMsg)
