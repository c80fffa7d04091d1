#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One running instance per user and instance name. A launch turns its
// arguments into one command line of compact JSON ({"cmd": ...}) and hands it
// to the running instance over a local socket; when none answers, this
// process becomes the one that listens, and every command that arrives (its
// own included, through dispatchCommand) comes out as one of the signals.
//
// Commands add events and import files, so the socket lives in a folder only
// this user can enter, and both ends check that the other runs as the same
// user: a command is neither sent to nor taken from anyone else. Of launches
// at the same moment, the one that takes the channel's lock listens and the
// others hand it their commands.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // How long a launch waits for the running instance to answer and to take
    // the command.
    static constexpr int kTimeoutMs = 800;
    // A command is a phrase or a path; a peer sending more than this in one
    // line is cut off.
    static constexpr qint64 kMaxLineBytes = 64 * 1024;
    // How long a launch that lost the start to another one waits for it to
    // listen.
    static constexpr int kStartingPeerWaitMs = 10000;

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // runtimeDirectory() + "/quillmarten-calendar", plus "-<CALENDAR_INSTANCE>"
    // when that is set; empty when there is no private folder.
    static QString serverName();
    // XDG_RUNTIME_DIR when it is a folder of this user's that nobody else may
    // enter; else fallbackDirectory(), created with mode 0700; empty when
    // neither is private.
    static QString runtimeDirectory();
    // The folder runtimeDirectory() falls back to, private or not:
    // "quillmarten-calendar" in the user's own cache folder, where no other
    // user can make it first (a shared temporary folder would let them).
    static QString fallbackDirectory();
    // The command of a launch (the program path first), ending in "\n".
    // Paths of .ics files are made absolute against this process's working
    // directory, since the running instance has its own.
    static QByteArray buildCommand(const QStringList &arguments);

    // Offers the launch's command to a running instance; true when it took
    // it. Needs no application object, so a launch hands over before
    // anything needs a display.
    static bool handOver(const QStringList &arguments);
    // True when this launch ends: a running instance took the command, or
    // (commandLost()) one that is starting did not take it in time. False
    // when this process now listens (or could not, which is logged).
    bool forwardOrListen(const QStringList &arguments);
    bool isListening() const;
    bool commandLost() const { return m_commandLost; }

public Q_SLOTS:
    // One line of the channel; anything unreadable asks for focus.
    void dispatchCommand(const QByteArray &line);

Q_SIGNALS:
    void focusRequested();
    void showTodayRequested();
    void newEventRequested();
    void quickAddRequested(const QString &text);
    void openIcsRequested(const QString &path);

private:
    static bool forward(const QByteArray &command);
    void onNewConnection();
    void readLines(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
    // Held while this process is the one that listens.
    std::unique_ptr<QLockFile> m_lock;
    bool m_commandLost = false;
};
