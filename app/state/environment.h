#pragma once

#include <QString>

// Where this application lives on the machine. Everything is read from the
// environment on each call; nothing is cached.

// CALENDAR_DATA_DIR when set and non-empty, else the user's generic data
// location + "/Quillmarten/Calendar". Created with its parents on each call,
// itself open to its owner only whatever the umask; a failure to create
// shows later, when the database does not open.
QString dataDirectory();
// dataDirectory() + "/calendar.db".
QString databasePath();
// dataDirectory() + "/calendar.lock": held by the program using the folder.
QString dataLockPath();
// CALENDAR_INSTANCE is exactly "dev".
bool isDevInstance();
// The service name of the secure store and the account client's application
// identifier; CALENDAR_INSTANCE, when set, keeps a second instance's secrets
// apart: "com.quillmarten.calendar" or "com.quillmarten.calendar.<instance>".
QString appIdentifier();
// "QuillmartenCalendar" or "QuillmartenCalendar-<instance>": names the
// start-at-login entry of this instance.
QString autostartValueName();
