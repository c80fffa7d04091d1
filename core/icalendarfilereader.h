#pragma once

#include "event.h"
#include "icalendarbytes.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

class QIODevice;

// Reads the events of an iCalendar file a batch at a time, so that memory
// follows a batch rather than the file. The encoding comes from the bytes:
// UTF-8 or UTF-16 by a byte-order mark; without one each unfolded line is
// UTF-8 when it is valid UTF-8, else Windows-1252 (of which Latin-1 is a
// part), so one stray byte costs its line only. Lines may end in CR LF, LF
// or a lone CR. Each batch is read as ICalendar::parseEvents reads a text,
// with the file's VTIMEZONEs seen so far beside it.
class ICalendarFileReader
{
public:
    // Items of the file that gave no event, by the reason.
    struct Skipped
    {
        int missingEnd = 0; // another BEGIN:VEVENT or END:VCALENDAR before its END:VEVENT
        int cutShort = 0; // the file ends inside the event
        int withoutUid = 0;
    };

    // `device` is open for reading and outlives the reader.
    explicit ICalendarFileReader(QIODevice *device);

    // The events of the next `batchSize` complete VEVENTs in file order
    // (fewer at the end, and fewer when some have no UID); empty once the
    // file is read.
    QList<Event> next(int batchSize);
    bool atEnd() const { return m_atEnd; }
    // The device reported an error; what came before it was returned.
    bool failed() const { return m_failed; }
    // Bytes taken from the device so far, for progress.
    qint64 bytesRead() const { return m_bytesRead; }
    const Skipped &skipped() const { return m_skipped; }
    // Lines read so far that were not UTF-8 and were read as Windows-1252,
    // in a file with UTF-8 elsewhere (see ICalendar::LineTally).
    int repairedLines() const { return m_tally.repaired(); }
    // Once at the end: the file began a VCALENDAR it never ended, as a file
    // cut short does (the events before the cut are still read).
    bool endMissing() const { return m_atEnd && m_calendarOpen; }
    // The VTODOs met so far: tasks are not read from a file.
    int tasks() const { return m_tasks; }

private:
    void start();
    bool fill();
    bool readLine(QByteArrayView *line);
    bool isLine(QByteArrayView line, QLatin1String expected) const;

    QIODevice *m_device;
    bool m_utf16 = false;
    QStringDecoder m_decoder; // UTF-16 files only
    QByteArray m_bytes;
    QByteArray m_joined; // scratch: a folded line's bytes unfolded
    QString m_line; // the last line decoded, when not ASCII
    bool m_lineDecoded = false;
    ICalendar::LineTally m_tally;
    bool m_calendarOpen = false;
    bool m_started = false;
    bool m_deviceDone = false;
    bool m_atEnd = false;
    bool m_failed = false;
    qint64 m_bytesRead = 0;
    qsizetype m_pos = 0;

    bool m_inEvent = false;
    bool m_inZone = false;
    QByteArray m_item; // unfolded lines, each ended by CR LF
    QByteArray m_zones;
    // Of each repeating event read so far, by UID, what a later override of
    // it is read with.
    QHash<QString, QByteArray> m_series;
    Skipped m_skipped;
    int m_tasks = 0;
};
