#pragma once

#include <QString>

// Reads a database file through the sqlite3 command-line tool, apart from the
// application's own connection: one line per row, columns separated by "|".
// A failure comes back as text starting with "<sqlite3 failed", which no
// expected value matches.
QString sqliteCli(const QString &databaseFile, const QString &statement);
