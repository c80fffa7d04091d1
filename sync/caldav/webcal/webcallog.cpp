#include "webcallog.h"

Q_LOGGING_CATEGORY(lcWebcal, "calendar.webcal")
