#pragma once

#include "task.h"

// A three-way merge of one to-do: the text both sides last agreed on (base),
// the local row and the server's newer copy. Each property the server changed
// and the local side did not comes in; where both changed one property the
// local value wins and `*conflict` is set. Categories merge as a set.
class CalDavTaskMerge
{
public:
    static Task merge(const Task &base, const Task &local, const Task &server, bool *conflict);
};
