#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Turns a burst of writes into one change signal: each schedule() remembers the
// calendar id (the last one wins) and restarts a 150 ms single-shot timer;
// when it fires, fired() carries that id. Internal to the store library.
class ChangeCoalescer : public QObject
{
    Q_OBJECT
public:
    explicit ChangeCoalescer(QObject *parent);

    void schedule(const QString &calendarId);

Q_SIGNALS:
    void fired(const QString &calendarId);

private:
    void emitPending();

    QTimer m_timer;
    QString m_pendingCalendarId;
};
