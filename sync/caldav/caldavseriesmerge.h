#pragma once

#include "event.h"

#include <QList>
#include <QPair>
#include <QStringList>

// A three-way merge of one series resource: the text both sides last agreed
// on (base), the local rows and the server's newer copy. Objects are matched
// by recurrence id (the master has none); each property the server changed
// and the local side did not comes in, the local side's own changes stay, and
// where both changed one property the local value wins and is reported as a
// conflict. EXDATE and RDATE lists merge as sets. An override one side
// removed and the other left alone goes; a new override of the server comes
// in unless the merged master excludes its occurrence.
class CalDavSeriesMerge
{
public:
    struct Result
    {
        QList<Event> changed; // local rows with the server's changes taken in
        QList<Event> added; // objects of the server new here (no id yet)
        QStringList removedIds; // local rows whose override the server dropped
        QList<QPair<Event, Event>> conflicts; // local row, server object
    };

    // `local` holds every row of the series, tombstones included: a deleted
    // override counts as removed and as an exception date of the master.
    static Result merge(const QList<Event> &base, const QList<Event> &local, const QList<Event> &server);
};
