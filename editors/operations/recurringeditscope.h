#pragma once

// How far a change to one occurrence of a repeating event reaches.
enum class RecurringEditScope : int {
    None = 0, // the prompt was cancelled
    ThisEvent = 1, // this occurrence only
    ThisAndFollowing = 2, // this occurrence and every later one
    AllEvents = 3, // the whole series
};
