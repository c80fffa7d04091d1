#pragma once

#include <QString>

#include <chrono>

// Whether the X display the program is about to open answers. Qt ends the
// process (abort) when the first connection to its X display fails, which a
// loaded X server does now and then; asked first, a start can wait a moment
// for it, and say plainly when there is none. One implementation file per
// platform.
namespace DisplayConnection {

enum class Outcome {
    Reached, // the display answered
    NotChecked, // the program will not open an X display this way
    Unreachable, // no answer within the time allowed
};

struct Result
{
    Outcome outcome = Outcome::NotChecked;
    QString display; // the display asked for, as named
};

// Tries the display Qt would open for these arguments and environment, again
// and again within `patience` while it refuses. A display reached is held
// open until release(): an X server resets when its last client leaves, and
// refuses connections meanwhile, Qt's among them.
Result waitForDisplay(int argc, char **argv, std::chrono::milliseconds patience);
// Lets go of the display held since waitForDisplay, once Qt holds its own.
void release();

} // namespace DisplayConnection
