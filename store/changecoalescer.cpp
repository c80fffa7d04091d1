#include "changecoalescer.h"

#include <utility>

ChangeCoalescer::ChangeCoalescer(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(150);
    connect(&m_timer, &QTimer::timeout, this, &ChangeCoalescer::emitPending);
}

void ChangeCoalescer::schedule(const QString &calendarId)
{
    m_pendingCalendarId = calendarId;
    m_timer.start();
}

void ChangeCoalescer::emitPending()
{
    // Taken before emitting: a listener that writes during the emission
    // schedules the next signal with its own calendar id, which must survive.
    const QString calendarId = std::exchange(m_pendingCalendarId, QString());
    Q_EMIT fired(calendarId);
}
