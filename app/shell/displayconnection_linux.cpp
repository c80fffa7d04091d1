#include "displayconnection.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>

namespace DisplayConnection {

namespace {

// Qt takes its options with one dash or two ("-display" or "--display").
bool isOption(const char *arg, const char *name)
{
    if (arg[0] == '-' && arg[1] == '-')
        ++arg;
    return arg[0] == '-' && std::strcmp(arg + 1, name) == 0;
}

// The platform list Qt will use: -platform, then QT_QPA_PLATFORM, else its
// default, which is X unless the session says Wayland.
bool opensXcbOnly(int argc, char **argv)
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (isOption(argv[i], "platform"))
            platform = argv[i + 1];
    }
    if (platform.isEmpty())
        return qgetenv("XDG_SESSION_TYPE") != "wayland";
    // A list goes on to its next entry when X fails; only a lone xcb aborts.
    return platform == "xcb" || platform.startsWith("xcb:");
}

QByteArray displayName(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (isOption(argv[i], "display"))
            return argv[i + 1];
    }
    return qgetenv("DISPLAY");
}

xcb_connection_t *held = nullptr;

bool answers(const QByteArray &display)
{
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return false;
    }
    release();
    held = connection;
    return true;
}

} // namespace

Result waitForDisplay(int argc, char **argv, std::chrono::milliseconds patience)
{
    Result result;
    if (!opensXcbOnly(argc, argv))
        return result;
    const QByteArray display = displayName(argc, argv);
    result.display = QString::fromLocal8Bit(display);
    // Without a display named there is nothing to wait for.
    const QDeadlineTimer deadline(display.isEmpty() ? std::chrono::milliseconds(0) : patience);
    std::chrono::milliseconds pause(20);
    for (;;) {
        if (!display.isEmpty() && answers(display)) {
            result.outcome = Outcome::Reached;
            return result;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(qMin(pause.count(), deadline.remainingTime()));
        pause = std::min(pause * 2, std::chrono::milliseconds(500));
    }
    result.outcome = Outcome::Unreachable;
    return result;
}

void release()
{
    if (held)
        xcb_disconnect(held);
    held = nullptr;
}

} // namespace DisplayConnection
