#pragma once

#include <QProcess>
#include <QString>
#include <QUrl>

#include <functional>

// Ports on 127.0.0.1 for servers that tests run as child processes.
//
// A port picked as free may be taken by another test running in parallel
// before the child binds it; the child then fails, or worse, the test talks
// to the other test's server. Hence startOnFreePort(): it checks that the
// child itself listens and moves to a fresh port when the child gave up.
namespace LoopbackPort {

// Whether `process` itself holds a listening socket on the port.
bool isListeningOn(int port, const QProcess &process);
// Waits until `process` itself listens on the port; false when it ended
// first or did not listen within `timeoutMs`.
bool waitUntilListening(int port, QProcess &process, int timeoutMs = 20000);
// Picks a free port and calls `launch(port)` to start `process` on it, until
// the process listens there; a process that ends before (its port was taken
// meanwhile) is tried again on another port, a few times. The port, or 0
// when `launch` failed, the process did not come up, or every try ended.
int startOnFreePort(QProcess &process, const std::function<bool(int port)> &launch, int timeoutMs = 20000);
// "<scheme>://<127.0.0.1>:<port>" followed by `path`.
QUrl url(const QString &scheme, int port, const QString &path);

// A port on 127.0.0.1 held bound but never listening while the object
// lives: connections to it are refused, and no other test can take it.
class ClosedPort
{
public:
    ClosedPort();
    ~ClosedPort();
    ClosedPort(const ClosedPort &) = delete;
    ClosedPort &operator=(const ClosedPort &) = delete;

    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

} // namespace LoopbackPort
