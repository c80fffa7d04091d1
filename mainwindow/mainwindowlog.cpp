#include "mainwindowlog.h"

Q_LOGGING_CATEGORY(lcMainWindow, "calendar.mainwindow")
